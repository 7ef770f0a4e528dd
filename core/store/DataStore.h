// The one aggregate of all stored data, owned by the controller window for the whole run; every
// window that reads or changes stored data is handed a pointer to it.
#pragma once

#include "core/store/AccountLoad.h"
#include "core/store/ActiveUserList.h"
#include "core/store/AdminAccount.h"
#include "core/store/ChildAccountList.h"
#include "core/store/ExtraTimeStore.h"
#include "core/store/PrjStore.h"
#include "core/store/ProgramRuleStore.h"
#include "core/store/ProgramUseStore.h"
#include "core/store/UsageStore.h"

class CDataStore {
public:
    CDataStore() = default;
    virtual ~CDataStore() = default;
    CDataStore(const CDataStore&) = delete;
    CDataStore& operator=(const CDataStore&) = delete;

    // The account load sequence: parent.nam (written with defaults on a first run), then child.nam.
    EAdminState LoadAccounts();

    CChildAccountList m_childAccounts;  // child.nam
    CAdminAccount m_adminAccount;       // parent.nam
    CPrjStore m_prjStore;               // prj.nam
    CUsageStore m_usageStore;           // use.sta
    CActiveUserList m_activeUsers;      // userinfo.aur
    CExtraTimeStore m_extraTime;        // extra.tim
    CProgramRuleStore m_programRules;   // programs.lim
    CProgramUseStore m_programUse;      // programs.use
};
