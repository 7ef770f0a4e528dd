// The account files: byte images of parent.nam and child.nam, the first-match rules of the child
// list, long names, cut-short files and saves that fail part way.
#include <gtest/gtest.h>

#include <cstring>

#include "core/store/AccountLoad.h"
#include "core/store/AdminAccount.h"
#include "core/store/ChildAccountList.h"
#include "core/store/PasswordField.h"
#include "core/store/RecordField.h"
#include "core/texts/Utilities.h"
#include "support/SaveFaults.h"
#include "support/TempFolder.h"

namespace {

std::int32_t Int32At(const BYTES& bytes, std::size_t nAt) {
    return static_cast<std::int32_t>(std::uint32_t(bytes[nAt]) | std::uint32_t(bytes[nAt + 1]) << 8 |
                                     std::uint32_t(bytes[nAt + 2]) << 16 | std::uint32_t(bytes[nAt + 3]) << 24);
}

void PutInt32At(BYTES& bytes, std::size_t nAt, std::int32_t nValue) {
    for (int i = 0; i < 4; ++i) bytes[nAt + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(nValue) >> (8 * i));
}

// Checks a fixed-width text field: the text, one zero byte, then 0xCC to the field's end.
void ExpectField(const BYTES& bytes, std::size_t nAt, std::size_t nWidth, const std::string& strText) {
    SCOPED_TRACE("field at " + std::to_string(nAt) + " holding \"" + strText + "\"");
    ASSERT_LT(strText.size(), nWidth);
    EXPECT_EQ(std::string(bytes.begin() + nAt, bytes.begin() + nAt + strText.size()), strText);
    EXPECT_EQ(bytes[nAt + strText.size()], 0);
    for (std::size_t i = nAt + strText.size() + 1; i < nAt + nWidth; ++i) ASSERT_EQ(bytes[i], 0xCC) << "byte " << i;
}

// Checks that a password field holds the hashed form of the password and no readable text.
void ExpectHashed(const BYTES& bytes, std::size_t nAt, const std::string& strPassword) {
    SCOPED_TRACE("password field at " + std::to_string(nAt));
    ASSERT_GE(bytes.size(), nAt + 32);
    EXPECT_EQ(bytes[nAt], 0x01);
    EXPECT_EQ(bytes[nAt + 1], CPasswordField::kVersion);
    EXPECT_TRUE(CPasswordField::Matches(bytes.data() + nAt, strPassword));
    const std::string strWrong = strPassword.size() < 31 ? strPassword + "x" : strPassword.substr(1);
    EXPECT_FALSE(CPasswordField::Matches(bytes.data() + nAt, strWrong));
}

// The image with the 32-byte password field at nAt taken from another (once that was checked).
BYTES WithFieldOf(BYTES image, const BYTES& from, std::size_t nAt) {
    std::copy(from.begin() + nAt, from.begin() + nAt + 32, image.begin() + nAt);
    return image;
}

// One child.nam record built by hand, so that loading is tested against bytes and not against Save.
BYTES ChildRecord(const std::string& strName, const std::string& strPassword, int bHasPassword, int nNotice,
                  int bSound) {
    BYTES bytes(172);
    CopyToField(strName, bytes.data(), 128);
    CopyToField(strPassword, bytes.data() + 128, 32);
    PutInt32At(bytes, 160, bHasPassword);
    PutInt32At(bytes, 164, nNotice);
    PutInt32At(bytes, 168, bSound);
    return bytes;
}

BYTES operator+(BYTES a, const BYTES& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(AdminAccount, NewRecordIsTheDocumentedImage) {
    CTempFolder folder;
    CAdminAccount admin;
    admin.SetDefaults();
    ASSERT_TRUE(admin.Save());
    const BYTES bytes = folder.Read("parent.nam");
    ASSERT_EQ(bytes.size(), 200u);
    ExpectField(bytes, 0, 128, "Administrator");
    ExpectHashed(bytes, 128, "");  // never readable, not even empty
    EXPECT_EQ(Int32At(bytes, 176), 0);  // bHasPassword
    EXPECT_EQ(Int32At(bytes, 180), 0);  // bAutoRun
    EXPECT_EQ(Int32At(bytes, 184), 1);  // bFirstRunPending
    EXPECT_EQ(Int32At(bytes, 196), 2);  // semi-transparent lock screen
}

TEST(AdminAccount, RecordAndReservedBytesSurviveALoadAndSave) {
    CTempFolder folder;
    BYTES image(200);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    CopyToField("Administrator", image.data(), 128);
    CopyToField("secret", image.data() + 128, 32);
    PutInt32At(image, 176, 1);
    PutInt32At(image, 180, 1);
    PutInt32At(image, 184, 0);
    PutInt32At(image, 196, 1);
    folder.Write("parent.nam", image);

    CAdminAccount admin;
    ASSERT_TRUE(admin.Load());
    EXPECT_STREQ(admin.m_admin.szPassword, "secret");
    EXPECT_EQ(admin.m_admin.bHasPassword, 1);
    EXPECT_EQ(admin.m_admin.bAutoRun, 1);
    EXPECT_EQ(admin.m_admin.bFirstRunPending, 0);
    EXPECT_EQ(admin.m_admin.nLockBackground, 1);
    // The plain-text password of an earlier version logs in and is hashed at the next save;
    // every other byte stays.
    EXPECT_TRUE(admin.AcceptsPassword("secret"));
    ASSERT_TRUE(admin.Save());
    const BYTES saved = folder.Read("parent.nam");
    ExpectHashed(saved, 128, "secret");
    EXPECT_EQ(saved, WithFieldOf(image, saved, 128));
    ASSERT_TRUE(admin.Load());
    EXPECT_TRUE(admin.AcceptsPassword("secret"));
}

TEST(AdminAccount, MissingEmptyOrCutShortFileLeavesTheRecordAsItWas) {
    CTempFolder folder;
    CAdminAccount admin;
    CopyToField("kept", admin.m_admin.szPassword, 32);
    EXPECT_FALSE(admin.Load());  // missing
    folder.Write("parent.nam", BYTES{});
    EXPECT_FALSE(admin.Load());  // empty
    folder.Write("parent.nam", BYTES(199, 0));
    EXPECT_FALSE(admin.Load());  // one byte short of a record (and no copy to take)
    EXPECT_STREQ(admin.m_admin.szPassword, "kept");

    // Bytes beyond the record are ignored.
    CAdminAccount other;
    ASSERT_TRUE(other.SetPassword("longer"));
    ASSERT_TRUE(other.Save());
    folder.Write("parent.nam", folder.Read("parent.nam") + BYTES(50, 0xAB));
    ASSERT_TRUE(admin.Load());
    EXPECT_TRUE(admin.AcceptsPassword("longer"));
}

TEST(AccountLoad, FirstRunWritesTheDefaultAdministratorAtOnce) {
    CTempFolder folder;
    CAdminAccount admin;
    CChildAccountList children;
    LoadAccounts(admin, children);
    EXPECT_EQ(admin.m_admin.bFirstRunPending, 1);
    EXPECT_EQ(folder.Read("parent.nam").size(), 200u);
    EXPECT_EQ(children.GetCount(), 0);
    EXPECT_FALSE(folder.Exists("child.nam"));  // created by the first save of the list
}

TEST(AccountLoad, ExistingFilesAreReadAndNotRewritten) {
    CTempFolder folder;
    {
        CAdminAccount admin;
        admin.m_admin.bFirstRunPending = 0;
        admin.m_admin.nLockBackground = 1;
        ASSERT_TRUE(admin.Save());
    }
    folder.Write("child.nam", ChildRecord("Tom", "", 0, 30, 1));
    const BYTES parent = folder.Read("parent.nam");

    CAdminAccount admin;
    CChildAccountList children;
    LoadAccounts(admin, children);
    EXPECT_EQ(admin.m_admin.bFirstRunPending, 0);
    EXPECT_EQ(admin.m_admin.nLockBackground, 1);
    EXPECT_EQ(children.GetName(0), "Tom");
    EXPECT_EQ(folder.Read("parent.nam"), parent);
}

TEST(AccountLoad, TheFirstRunIsOnlyForAMachineWithoutDataAndADamagedRecordAdmitsNobody) {
    // A cut-short parent.nam with no copy is damaged, not a first run: it stays as it is, no
    // password is accepted, and no first-run dialog may choose a new one.
    {
        CTempFolder folder;
        folder.Write("parent.nam", BYTES(120, 0x41));
        CAdminAccount admin;
        CChildAccountList children;
        EXPECT_EQ(LoadAccounts(admin, children), EAdminState::Damaged);
        EXPECT_EQ(admin.m_admin.bFirstRunPending, 0);
        EXPECT_FALSE(admin.AcceptsPassword(""));
        EXPECT_FALSE(admin.Save());
        EXPECT_EQ(folder.Read("parent.nam"), BYTES(120, 0x41));
    }
    // parent.nam deleted while other data (or only its copy) exists.
    for (const char* pszOther : {"child.nam", "prj.nam", "use.sta", "userinfo.aur"}) {
        SCOPED_TRACE(pszOther);
        CTempFolder folder;
        folder.Write(pszOther, BYTES(520, 0x41));
        CAdminAccount admin;
        CChildAccountList children;
        EXPECT_EQ(LoadAccounts(admin, children), EAdminState::Damaged);
        EXPECT_FALSE(folder.Exists("parent.nam"));
    }
    // A record still waiting for its first run while children exist is not believed either.
    {
        CTempFolder folder;
        CAdminAccount pending;
        ASSERT_TRUE(pending.Save());
        folder.Write("child.nam", ChildRecord("Tom", "", 0, 30, 1));
        CAdminAccount admin;
        CChildAccountList children;
        EXPECT_EQ(LoadAccounts(admin, children), EAdminState::Damaged);
    }
    // Nothing at all: the first run, ready again at the next start until it is completed.
    {
        CTempFolder folder;
        CAdminAccount admin;
        CChildAccountList children;
        EXPECT_EQ(LoadAccounts(admin, children), EAdminState::FirstRun);
        EXPECT_EQ(LoadAccounts(admin, children), EAdminState::FirstRun);
        admin.m_admin.bFirstRunPending = 0;
        ASSERT_TRUE(admin.SetPassword("pw"));
        ASSERT_TRUE(admin.Save());
        // Deleted afterwards: restored from its copy, with the password.
        folder.Remove("parent.nam");
        CAdminAccount again;
        EXPECT_EQ(LoadAccounts(again, children), EAdminState::Ready);
        EXPECT_TRUE(again.AcceptsPassword("pw"));
        EXPECT_EQ(folder.Read("parent.nam").size(), 200u);
    }
}

TEST(ChildAccountList, TwoAccountsAreTheDocumentedImage) {
    CTempFolder folder;
    CChildAccountList children;
    children.Add("Tom");
    children.Add("Amy", "pw");
    ASSERT_TRUE(children.Save());
    const BYTES bytes = folder.Read("child.nam");
    ASSERT_EQ(bytes.size(), 344u);
    ExpectField(bytes, 0, 128, "Tom");
    ExpectHashed(bytes, 128, "");
    EXPECT_EQ(Int32At(bytes, 160), 0);
    EXPECT_EQ(Int32At(bytes, 164), 30);
    EXPECT_EQ(Int32At(bytes, 168), 1);
    ExpectField(bytes, 172, 128, "Amy");
    ExpectHashed(bytes, 300, "pw");
    EXPECT_EQ(Int32At(bytes, 332), 1);
    EXPECT_EQ(Int32At(bytes, 336), 30);
    EXPECT_EQ(Int32At(bytes, 340), 1);
    EXPECT_EQ(bytes, WithFieldOf(WithFieldOf(ChildRecord("Tom", "", 0, 30, 1) + ChildRecord("Amy", "pw", 1, 30, 1), bytes, 128), bytes, 300));
}

TEST(ChildAccountList, LoadReadsRecordsInFileOrderAndSavesThemBack) {
    CTempFolder folder;
    // Filler bytes that are not 0xCC are carried as they are.
    BYTES odd = ChildRecord("Zoe", "x", 1, 15, 0);
    odd[100] = 0x11;
    const BYTES image = ChildRecord("Tom", "", 0, 40, 1) + odd;
    folder.Write("child.nam", image);

    CChildAccountList children;
    ASSERT_TRUE(children.Load());
    ASSERT_EQ(children.GetCount(), 2);
    EXPECT_EQ(children.GetName(0), "Tom");
    EXPECT_EQ(children.GetName(1), "Zoe");
    EXPECT_EQ(children.GetName(2), "");
    EXPECT_EQ(children.GetName(-1), "");
    EXPECT_EQ(children.GetNoticeSeconds("Tom"), 40);
    EXPECT_EQ(children.GetAlertSound("Zoe"), 0);
    EXPECT_TRUE(children.AcceptsPassword("Zoe", "x"));
    ASSERT_TRUE(children.Save());
    const BYTES saved = folder.Read("child.nam");
    ExpectHashed(saved, 300, "x");
    EXPECT_EQ(saved, WithFieldOf(WithFieldOf(image, saved, 128), saved, 300));
    ASSERT_TRUE(children.Load());
    EXPECT_TRUE(children.AcceptsPassword("Zoe", "x"));
}

TEST(ChildAccountList, MissingEmptyAndCutShortFiles) {
    CTempFolder folder;
    CChildAccountList children;
    children.Add("Kept");
    EXPECT_FALSE(children.Load());
    folder.Write("child.nam", BYTES{});
    EXPECT_FALSE(children.Load());
    EXPECT_EQ(children.GetCount(), 1);
    EXPECT_EQ(children.GetName(0), "Kept");

    // A fragment after whole records is dropped, and the next save leaves whole records only.
    folder.Write("child.nam", ChildRecord("Tom", "", 0, 30, 1) + ChildRecord("Amy", "", 0, 30, 1) + BYTES(100, 0x41));
    ASSERT_TRUE(children.Load());
    EXPECT_EQ(children.GetCount(), 2);
    ASSERT_TRUE(children.Save());
    EXPECT_EQ(folder.Read("child.nam").size(), 344u);

    // A file shorter than one record is restored from its copy...
    folder.Write("child.nam", BYTES(171, 0x41));
    ASSERT_TRUE(children.Load());
    EXPECT_EQ(children.GetCount(), 2);
    EXPECT_EQ(folder.Read("child.nam").size(), 344u);
    // ... and without a copy opens and holds no account.
    folder.m_copies.m_copies.clear();
    folder.Write("child.nam", BYTES(171, 0x41));
    ASSERT_TRUE(children.Load());
    EXPECT_EQ(children.GetCount(), 0);
}

TEST(ChildAccountList, LookupsTakeTheFirstExactMatch) {
    CTempFolder folder;
    folder.Write("child.nam", ChildRecord("Tom", "one", 1, 10, 0) + ChildRecord("Amy", "", 0, 30, 1) +
                                  ChildRecord("Tom", "two", 1, 20, 1));
    CChildAccountList children;
    ASSERT_TRUE(children.Load());
    EXPECT_TRUE(children.AcceptsPassword("Tom", "one"));
    EXPECT_EQ(children.GetNoticeSeconds("Tom"), 10);
    EXPECT_FALSE(children.Exists("tom"));  // case matters
    EXPECT_FALSE(children.Exists("Tom "));

    children.SetNoticeSeconds("Tom", 35);
    children.SetAlertSound("Tom", 1);
    children.SetPassword("Tom", "new");
    children.Remove("Tom");  // the first Tom goes, with the changes just made
    ASSERT_EQ(children.GetCount(), 2);
    EXPECT_EQ(children.GetName(0), "Amy");
    EXPECT_TRUE(children.AcceptsPassword("Tom", "two"));
    EXPECT_EQ(children.GetNoticeSeconds("Tom"), 20);

    children.Remove("Nobody");
    EXPECT_EQ(children.GetCount(), 2);
}

TEST(ChildAccountList, NamesNotInTheListReadAsZeroAndChangeNothing) {
    CTempFolder folder;
    CChildAccountList children;
    children.Add("Tom");
    children.SetPassword("Amy", "pw");
    children.SetNoticeSeconds("Amy", 12);
    children.SetAlertSound("Amy", 0);
    EXPECT_EQ(children.HasPassword("Amy"), 0);
    EXPECT_FALSE(children.AcceptsPassword("Amy", ""));
    EXPECT_EQ(children.GetNoticeSeconds("Amy"), 0);
    EXPECT_EQ(children.GetAlertSound("Amy"), 0);
    ASSERT_TRUE(children.Save());
    const BYTES saved = folder.Read("child.nam");
    EXPECT_EQ(saved, WithFieldOf(ChildRecord("Tom", "", 0, 30, 1), saved, 128));
}

TEST(ChildAccountList, PasswordIsAskedOnlyWhenTheAccountHasOne) {
    CTempFolder folder;
    // Text in the password field of an account without password is not a password.
    folder.Write("child.nam", ChildRecord("Tom", "stale", 0, 30, 1));
    CChildAccountList children;
    ASSERT_TRUE(children.Load());
    EXPECT_EQ(children.HasPassword("Tom"), 0);
    EXPECT_TRUE(children.AcceptsPassword("Tom", ""));

    // Setting an empty password still makes it an account with a password: the empty one.
    children.SetPassword("Tom", "");
    EXPECT_EQ(children.HasPassword("Tom"), 1);
    EXPECT_TRUE(children.AcceptsPassword("Tom", ""));
    ASSERT_TRUE(children.Save());
    const BYTES saved = folder.Read("child.nam");
    ExpectHashed(saved, 128, "");
    EXPECT_EQ(saved, WithFieldOf(ChildRecord("Tom", "", 1, 30, 1), saved, 128));
}

TEST(ChildAccountList, LongTextIsCutAndLongNamesAreComparedAsStored) {
    CTempFolder folder;
    const std::string strLong(140, 'n');
    const std::string strStored(127, 'n');
    CChildAccountList children;
    children.Add(strLong, std::string(40, 'p'));
    ASSERT_TRUE(children.Save());
    const BYTES bytes = folder.Read("child.nam");
    ASSERT_EQ(bytes.size(), 172u);
    ExpectField(bytes, 0, 128, strStored);
    ExpectHashed(bytes, 128, std::string(31, 'p'));

    // The long name and its stored form are one account: adding it again is refused by Exists,
    // and every lookup finds it under either form.
    EXPECT_TRUE(children.Exists(strLong));
    EXPECT_TRUE(children.Exists(strStored));
    EXPECT_TRUE(children.Exists(strStored + "different tail"));
    EXPECT_FALSE(children.Exists(std::string(126, 'n')));
    EXPECT_TRUE(children.AcceptsPassword(strLong, std::string(31, 'p')));
    EXPECT_EQ(children.GetName(0), strStored);
    children.SetNoticeSeconds(strLong, 11);
    EXPECT_EQ(children.GetNoticeSeconds(strStored), 11);
    children.Remove(strLong);
    EXPECT_EQ(children.GetCount(), 0);

    // A name with a zero byte is stored up to that byte, and compared so.
    children.Add(std::string("Ann\0x", 5));
    EXPECT_TRUE(children.Exists("Ann"));
}

TEST(ChildAccountList, SaveCutShortAtAnyByteKeepsTheOldFileAndTheList) {
    CTempFolder folder;
    CChildAccountList children;
    children.Add("Tom");
    ASSERT_TRUE(children.Save());
    const BYTES old = folder.Read("child.nam");
    children.Add("Amy", "pw");

    CFailingFiles failing;
    ForEachSaveFault(failing, 344, [&](const std::string& strFault) {
        ASSERT_FALSE(children.Save()) << strFault;
        ASSERT_EQ(folder.Read("child.nam"), old) << strFault;
    });
    EXPECT_EQ(children.GetCount(), 2);
    EXPECT_TRUE(children.AcceptsPassword("Amy", "pw"));

    // The next save that works writes the whole list over whatever a failed one left behind.
    folder.Write("child.nam.new", BYTES(1000, 0xEE));
    failing.FailAfter(-1);
    ASSERT_TRUE(children.Save());
    CChildAccountList reread;
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(reread.GetCount(), 2);
    EXPECT_EQ(folder.Read("child.nam").size(), 344u);
}

TEST(AdminAccount, SaveCutShortAtAnyByteKeepsTheOldFileAndTheRecord) {
    CTempFolder folder;
    CAdminAccount admin;
    ASSERT_TRUE(admin.Save());
    const BYTES old = folder.Read("parent.nam");
    ASSERT_TRUE(admin.SetPassword("new"));
    admin.m_admin.bFirstRunPending = 0;

    CFailingFiles failing;
    ForEachSaveFault(failing, 200, [&](const std::string& strFault) {
        ASSERT_FALSE(admin.Save()) << strFault;
        ASSERT_EQ(folder.Read("parent.nam"), old) << strFault;
    });
    EXPECT_TRUE(admin.AcceptsPassword("new"));
    EXPECT_EQ(admin.m_admin.bFirstRunPending, 0);
}

TEST(AdminAccount, AcceptsExactlyTheStoredPassword) {
    CAdminAccount admin;
    EXPECT_TRUE(admin.AcceptsPassword("")) << "never set up: the empty entry";
    EXPECT_FALSE(admin.AcceptsPassword(" "));
    CopyToField("Secret", admin.m_admin.szPassword, sizeof admin.m_admin.szPassword);
    EXPECT_TRUE(admin.AcceptsPassword("Secret"));
    for (const char* pszWrong : {"secret", "Secret ", "Secre", "", "SecretSecret"}) EXPECT_FALSE(admin.AcceptsPassword(pszWrong)) << pszWrong;
    // The full 31 characters count, the 0xCC filling after the terminator does not.
    const std::string strLong(31, 'x');
    CopyToField(strLong, admin.m_admin.szPassword, sizeof admin.m_admin.szPassword);
    EXPECT_TRUE(admin.AcceptsPassword(strLong));
    EXPECT_FALSE(admin.AcceptsPassword(strLong.substr(1)));
}
