// The one aggregate of all stored data, owned by the controller window for the whole run; every
// window that reads or changes stored data is handed a pointer to it.
#pragma once

#include "store/AccountLoad.h"
#include "store/PrjStore.h"
#include "store/ActiveUserList.h"
#include "store/AdminAccount.h"
#include "store/ChildAccountList.h"
#include "store/ExtraTimeStore.h"
#include "store/UsageStore.h"

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
};
