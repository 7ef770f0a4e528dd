// The aggregate of all stored data.
#include "store/DataStore.h"

#include "store/AccountLoad.h"

EAdminState CDataStore::LoadAccounts() { return ::LoadAccounts(m_adminAccount, m_childAccounts); }
