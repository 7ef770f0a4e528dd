// The aggregate of all stored data.
#include "store/DataStore.h"

#include "store/AccountLoad.h"

void CDataStore::LoadAccounts() { ::LoadAccounts(m_adminAccount, m_childAccounts); }
