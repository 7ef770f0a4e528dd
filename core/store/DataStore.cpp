// The aggregate of all stored data.
#include "core/store/DataStore.h"

#include "core/store/AccountLoad.h"

EAdminState CDataStore::LoadAccounts() { return ::LoadAccounts(m_adminAccount, m_childAccounts); }
