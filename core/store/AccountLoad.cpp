// The account load sequence.
#include "core/store/AccountLoad.h"

#include "core/store/AdminAccount.h"
#include "core/store/ChildAccountList.h"
#include "core/store/DataFile.h"

namespace {

// Whether any data other than the Administrator record exists, as a file or a copy.
bool OtherDataExists() {
    for (const char* pszFile : CDataFile::kCopiedFiles) {
        if (std::string(pszFile) == CAdminAccount::kFileName) continue;
        BYTES bytes;
        if (CDataFile::Read(pszFile, 1, bytes)) return true;
    }
    return false;
}

}  // namespace

EAdminState LoadAccounts(CAdminAccount& admin, CChildAccountList& children) {
    EAdminState state = EAdminState::Ready;
    if (admin.Load()) {
        if (admin.m_admin.bFirstRunPending == 1) state = OtherDataExists() ? EAdminState::Damaged : EAdminState::FirstRun;
    } else if (CDataFile::AnyExists()) {
        state = EAdminState::Damaged;
    } else {
        admin.SetDefaults();
        admin.Save();  // a failure is retried by the next save of the record
        state = EAdminState::FirstRun;
    }
    admin.SetDamaged(state == EAdminState::Damaged);
    children.Load();
    return state;
}
