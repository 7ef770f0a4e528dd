// The account load sequence run at start-up and whenever the arrangement editor closes.
#pragma once

class CAdminAccount;
class CChildAccountList;

// What the load found out about the Administrator.
enum class EAdminState {
    Ready,     // parent.nam (or its copy) read and set up
    FirstRun,  // no data at all: the first-run dialog chooses the Administrator password
    Damaged,   // parent.nam lost beyond its copy while other data exists: nobody may log in as
               // Administrator, and nobody may choose a new Administrator password
};

// Reads parent.nam (restored from its copy when damaged), then child.nam. The first run happens
// only when no data file and no copy exist: a default Administrator record is written at once so
// that the file exists from then on. A record still waiting for its first run while other data
// exists counts as damaged, as does a missing record; a damaged record is never written over.
EAdminState LoadAccounts(CAdminAccount& admin, CChildAccountList& children);
