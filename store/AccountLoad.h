// The account load sequence run at start-up and whenever the arrangement editor closes.
#pragma once

class CAdminAccount;
class CChildAccountList;

// Reads parent.nam, or on a first run (missing or cut-short file) writes a default Administrator
// record at once so that the file exists from then on; then reads child.nam. The caller decides
// on the first-run dialog from bFirstRunPending and takes nLockBackground over.
void LoadAccounts(CAdminAccount& admin, CChildAccountList& children);
