// The account load sequence.
#include "store/AccountLoad.h"

#include "store/AdminAccount.h"
#include "store/ChildAccountList.h"

void LoadAccounts(CAdminAccount& admin, CChildAccountList& children) {
    if (!admin.Load()) {
        admin.SetDefaults();
        admin.Save();  // a failure is retried by the next save of the record
    }
    children.Load();
}
