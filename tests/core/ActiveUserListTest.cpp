// userinfo.aur: 128 bytes per name, list order, lookups, cut-short files and failed saves.
#include <gtest/gtest.h>

#include "core/store/ActiveUserList.h"
#include "core/store/RecordField.h"
#include "core/texts/Utilities.h"
#include "support/SaveFaults.h"
#include "support/TempFolder.h"

namespace {

BYTES NameRecord(const std::string& strName) {
    BYTES bytes(128);
    CopyToField(strName, bytes.data(), bytes.size());
    return bytes;
}

BYTES operator+(BYTES a, const BYTES& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(ActiveUserList, TwoLoginsGiveTwoRecordsInLoginOrder) {
    CTempFolder folder;
    CActiveUserList users;
    users.Add("Tom");
    users.Add("Amy");
    ASSERT_TRUE(users.Save());
    const BYTES bytes = folder.Read("userinfo.aur");
    ASSERT_EQ(bytes.size(), 256u);
    EXPECT_EQ(bytes, NameRecord("Tom") + NameRecord("Amy"));
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(bytes[4], 0xCC);
    EXPECT_EQ(bytes[127], 0xCC);
}

TEST(ActiveUserList, LoadReplacesTheListWithTheFile) {
    CTempFolder folder;
    folder.Write("userinfo.aur", NameRecord("Tom") + NameRecord("Amy") + BYTES(60, 0x41));
    CActiveUserList users;
    users.Add("Old");
    ASSERT_TRUE(users.Load());
    EXPECT_EQ(users.GetCount(), 2);  // the fragment is dropped
    EXPECT_EQ(users.Find("Old"), nullptr);
    ASSERT_NE(users.Find("Amy"), nullptr);
    EXPECT_EQ(*users.Find("Amy"), "Amy");
    ASSERT_TRUE(users.Save());
    EXPECT_EQ(folder.Read("userinfo.aur"), NameRecord("Tom") + NameRecord("Amy"));
}

TEST(ActiveUserList, MissingOrEmptyFileLeavesTheListUnchanged) {
    CTempFolder folder;
    CActiveUserList users;
    users.Add("Tom");
    EXPECT_FALSE(users.Load());
    folder.Write("userinfo.aur", BYTES{});
    EXPECT_FALSE(users.Load());
    EXPECT_NE(users.Find("Tom"), nullptr);
}

TEST(ActiveUserList, RemoveTakesOutTheEntryFound) {
    CTempFolder folder;
    CActiveUserList users;
    users.Add("Tom");
    users.Add("Amy");
    users.Add("Tom");
    EXPECT_EQ(users.Find("tom"), nullptr);
    users.Remove(users.Find("Tom"));
    users.Remove(users.Find("Nobody"));  // null: nothing happens
    ASSERT_TRUE(users.Save());
    EXPECT_EQ(folder.Read("userinfo.aur"), NameRecord("Amy") + NameRecord("Tom"));
}

TEST(ActiveUserList, LongNamesAreFoundAsTheyAreStored) {
    CTempFolder folder;
    const std::string strLong(200, 'k');
    CActiveUserList users;
    users.Add(strLong);
    EXPECT_NE(users.Find(std::string(127, 'k')), nullptr);
    ASSERT_TRUE(users.Save());
    ASSERT_TRUE(users.Load());
    EXPECT_NE(users.Find(strLong), nullptr);  // still found after the name was cut in the file
    EXPECT_EQ(users.GetCount(), 1);
}

TEST(ActiveUserList, SaveCutShortAtAnyByteKeepsTheOldFileAndTheList) {
    CTempFolder folder;
    CActiveUserList users;
    users.Add("Tom");
    ASSERT_TRUE(users.Save());
    const BYTES old = folder.Read("userinfo.aur");
    users.Add("Amy");
    CFailingFiles failing;
    ForEachSaveFault(failing, 256, [&](const std::string& strFault) {
        ASSERT_FALSE(users.Save()) << strFault;
        ASSERT_EQ(folder.Read("userinfo.aur"), old) << strFault;
    });
    EXPECT_EQ(users.GetCount(), 2);
}
