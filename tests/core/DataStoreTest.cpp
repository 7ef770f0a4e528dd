// The aggregate's account load sequence, at a first run and when the editor closes.
#include <gtest/gtest.h>

#include "core/store/DataStore.h"
#include "core/store/RecordField.h"
#include "core/texts/Utilities.h"
#include "support/TempFolder.h"

TEST(DataStore, FirstRunStartsWithADefaultAdministratorAndNoChildren) {
    CTempFolder folder;
    CDataStore store;
    store.LoadAccounts();
    EXPECT_EQ(store.m_adminAccount.m_admin.bFirstRunPending, 1);
    EXPECT_EQ(store.m_adminAccount.m_admin.nLockBackground, 2);
    EXPECT_EQ(folder.Read("parent.nam").size(), 200u);
    EXPECT_EQ(store.m_childAccounts.GetCount(), 0);
}

TEST(DataStore, ReloadingSeesWhatOtherWindowsSavedAndKeepsWhatTheyDidNot) {
    CTempFolder folder;
    CDataStore store;
    store.LoadAccounts();
    store.m_adminAccount.m_admin.bFirstRunPending = 0;
    ASSERT_TRUE(store.m_adminAccount.SetPassword("pw"));
    ASSERT_TRUE(store.m_adminAccount.Save());

    // Another window's list adds two children and saves.
    CChildAccountList other;
    other.Add("Tom");
    other.Add("Amy", "x");
    ASSERT_TRUE(other.Save());

    store.m_childAccounts.Add("Stale");  // never saved: the reload drops it
    store.LoadAccounts();
    EXPECT_EQ(store.m_adminAccount.m_admin.bFirstRunPending, 0);
    EXPECT_TRUE(store.m_adminAccount.AcceptsPassword("pw"));
    ASSERT_EQ(store.m_childAccounts.GetCount(), 2);
    EXPECT_EQ(store.m_childAccounts.GetName(1), "Amy");
    EXPECT_FALSE(store.m_childAccounts.Exists("Stale"));
}
