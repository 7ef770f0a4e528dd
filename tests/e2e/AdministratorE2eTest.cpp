// The Administrator's first afternoon with the real program: the first-run password, the lock
// screen, a refused and an accepted login, two children added, a week arranged, a switch of user,
// and the program closed from the editor (which ends the companion too). After every step the
// data files are compared byte for byte with what the core writes for the same changes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "core/seams/Clock.h"
#include "core/seams/DataFolder.h"
#include "core/store/AdminAccount.h"
#include "core/store/ChildAccountList.h"
#include "core/store/EventLog.h"
#include "core/store/PasswordField.h"
#include "core/store/PrjStore.h"
#include "core/store/RecordField.h"
#include "core/texts/Utilities.h"
#include "E2eSupport.h"
#include "HashedFields.h"
#include "ProgramUnderTest.h"
#include "resources/resource.h"
#include "support/TempFolder.h"

namespace {

// A click as the mouse gives it: the button changes its own state and tells the dialog.
void Press(HWND hDlg, int nId) { ::PostMessageA(::GetDlgItem(hDlg, nId), BM_CLICK, 0, 0); }
bool IsChecked(HWND hDlg, int nId) { return ::SendMessageA(::GetDlgItem(hDlg, nId), BM_GETCHECK, 0, 0) == BST_CHECKED; }
// Chooses an item of a drop list and tells the dialog, as a choice with the mouse would.
void Choose(HWND hDlg, int nId, int nIndex) {
    HWND hCombo = ::GetDlgItem(hDlg, nId);
    ::SendMessageA(hCombo, CB_SETCURSEL, nIndex, 0);
    for (int nCode : {CBN_SELCHANGE, CBN_SELENDOK})
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, nCode), reinterpret_cast<LPARAM>(hCombo));
}
void Key(HWND hWnd, WPARAM nKey) { ::PostMessageA(hWnd, WM_KEYDOWN, nKey, 0); }
int SelectedRow(HWND hList) { return static_cast<int>(::SendMessageA(hList, LVM_GETNEXTITEM, -1, LVNI_SELECTED)); }

constexpr const char* kLocked = "The screen is locked. Please Login.";
constexpr DWORD kSoon = 5000;  // the bound of a wait for what a click does

// Waits until the program's file holds the bytes expected (with the passwords left out of records
// of the size given), and returns what it holds then.
BYTES FileSoon(const CProgramUnderTest& program, const char* pszFile, const BYTES& expected, std::size_t nRecord = 0) {
    auto Read = [&] {
        const BYTES bytes = program.ReadFile(pszFile);
        return nRecord ? WithoutPasswords(bytes, nRecord) : bytes;
    };
    WaitFor([&] { return Read() == expected; }, kSoon);
    return Read();
}

// Chooses an account at the lock screen; the choice empties the password field, which is waited for.
::testing::AssertionResult ChooseAccount(HWND hLock, int nIndex) {
    SetText(hLock, IDC_LOCK_PASSWORD, "typed before the choice");
    Choose(hLock, IDC_LOCK_ACCOUNT, nIndex);
    if (WaitFor([&] { return CProgramUnderTest::ItemText(hLock, IDC_LOCK_PASSWORD).empty(); }, kSoon))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the choice of an account did not empty the password field";
}

// The wait after a wrong password is over when the group box asks for a login again.
::testing::AssertionResult WrongPasswordWaitEnds(HWND hLock) {
    if (WaitFor([&] { return CProgramUnderTest::ItemText(hLock, IDC_LOCK_GROUP) == kLocked; }, 10000))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the wait after a wrong password did not end: "
                                         << CProgramUnderTest::ItemText(hLock, IDC_LOCK_GROUP);
}

// The kinds of the events in the program's log, in order, each followed by a comma.
std::string EventKinds(const CProgramUnderTest& program) {
    const std::string strBefore = CDataFolder::Get();  // the expected files' scratch folder
    CDataFolder::Use(program.Folder());
    std::string strKinds;
    for (const EVENT_ENTRY& entry : CEventLog::ReadAll()) strKinds += entry.strKind + ",";
    CDataFolder::Use(strBefore);
    return strKinds;
}

// The files as the core writes them, kept in a scratch folder of the driver's own.
class CExpectedFiles {
public:
    BYTES Admin() const { return BYTES(Bytes(&m_admin.m_admin), Bytes(&m_admin.m_admin) + sizeof m_admin.m_admin); }
    BYTES Children() {
        m_children.Save();
        return m_folder.Read(CChildAccountList::kFileName);
    }
    BYTES Weeks() {
        m_weeks.Save();
        return m_folder.Read(CPrjStore::FILE_NAME);
    }
    CAdminAccount m_admin;
    CChildAccountList m_children;
    CPrjStore m_weeks;

private:
    static const std::uint8_t* Bytes(const void* p) { return static_cast<const std::uint8_t*>(p); }
    CTempFolder m_folder;
};

}  // namespace

TEST(Administrator, FirstRunLoginAccountsAWeekASwitchOfUserAndTheEndFromTheEditor) {
    CProgramUnderTest program;
    CExpectedFiles expected;
    const DWORD nPid = program.Start();
    ASSERT_NE(nPid, 0u);

    // The first start asks for the Administrator password before anything else.
    HWND hFirst = program.WaitForWindow(IDC_FIRST_PASSWORD, CProgramUnderTest::kStartBoundMs, nPid);
    ASSERT_NE(hFirst, nullptr) << "no first-run dialog";
    EXPECT_EQ(WithoutPasswords(program.ReadFile("parent.nam"), 200), WithoutPasswords(expected.Admin(), 200))
        << "the record of a first run";
    CProgramUnderTest::Pause(400);
    program.Screenshot("admin-first-run");
    SetText(hFirst, IDC_FIRST_PASSWORD, "secret");
    SetText(hFirst, IDC_FIRST_CONFIRM, "secret");
    CProgramUnderTest::Click(hFirst, IDC_FIRST_OK);

    HWND hLock = program.WaitForWindow(IDC_LOCK_PASSWORD_LABEL, 10000, nPid);
    ASSERT_NE(hLock, nullptr) << "no lock screen after the first-run dialog";
    ADMIN_ACCOUNT& admin = expected.m_admin.m_admin;
    admin.bHasPassword = 1;
    admin.bAutoRun = 1;
    admin.bFirstRunPending = 0;
    EXPECT_EQ(WithoutPasswords(program.ReadFile("parent.nam"), 200), WithoutPasswords(expected.Admin(), 200));
    EXPECT_TRUE(HoldsHashed(program.ReadFile("parent.nam"), 128, "secret")) << "parent.nam holds no password text";
    EXPECT_EQ(CProgramUnderTest::ItemText(hLock, IDC_LOCK_ACCOUNT), "Administrator");
    EXPECT_EQ(CProgramUnderTest::ItemText(hLock, IDC_LOCK_GROUP), kLocked);
    CProgramUnderTest::Pause(1200);
    program.Screenshot("admin-lock-screen");

    // A wrong password is refused with a message; the lock screen stays.
    SetText(hLock, IDC_LOCK_PASSWORD, "Secret");
    CProgramUnderTest::Click(hLock, IDC_LOCK_LOGIN);
    HWND hBox = program.WaitForWindow(0xFFFF, 5000, nPid);
    ASSERT_NE(hBox, nullptr) << "no message about the wrong password";
    EXPECT_EQ(CProgramUnderTest::ItemText(hBox, 0xFFFF), "The password you entered is incorrect.");
    EXPECT_EQ(CProgramUnderTest::TextOf(hBox), "Wrong password");
    program.Screenshot("admin-wrong-password");
    CProgramUnderTest::Click(hBox, IDOK);
    EXPECT_TRUE(WaitFor([&] { return CProgramUnderTest::ItemText(hLock, IDC_LOCK_PASSWORD).empty(); }, kSoon))
        << "the field is emptied";
    EXPECT_TRUE(WrongPasswordWaitEnds(hLock));

    // The wrong password and the first run are listed before the editor opens.
    SetText(hLock, IDC_LOCK_PASSWORD, "secret");
    CProgramUnderTest::Click(hLock, IDC_LOCK_LOGIN);
    HWND hEvents = program.WaitForWindow(IDC_EVENTS_LIST, 10000, nPid);
    ASSERT_NE(hEvents, nullptr) << "no list of events at the login";
    // The list's lines cannot be read from another process; the log it shows can.
    EXPECT_EQ(::SendMessageA(::GetDlgItem(hEvents, IDC_EVENTS_LIST), LB_GETCOUNT, 0, 0), 2);
    const std::string strEvents = EventKinds(program);
    EXPECT_EQ(strEvents, "first run,wrong password,login,");
    CProgramUnderTest::Pause(400);
    program.Screenshot("admin-events");
    CProgramUnderTest::Click(hEvents, IDOK);
    HWND hEditor = program.WaitForWindow(IDC_ARR_WEEK, 10000, nPid);
    ASSERT_NE(hEditor, nullptr) << "no editor after the Administrator's login";
    EXPECT_FALSE(::IsWindowVisible(hLock));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hEditor, IDC_ARR_SAVE))) << "no child yet";
    CProgramUnderTest::Pause(600);
    program.Screenshot("admin-editor-no-children");

    // Two children, the second with a password.
    CProgramUnderTest::Click(hEditor, IDC_ARR_ACCOUNTS);
    HWND hManager = program.WaitForWindow(IDC_ACCOUNT_LIST, 5000, nPid);
    ASSERT_NE(hManager, nullptr);
    for (const char* pszName : {"Alice", "Bob"}) {
        CProgramUnderTest::Click(hManager, IDC_ACCOUNT_ADD);
        HWND hAdd = program.WaitForWindow(IDC_ADD_NAME_LABEL, 5000, nPid);
        ASSERT_NE(hAdd, nullptr);
        SetText(hAdd, IDC_ADD_NAME, pszName);
        if (std::string(pszName) == "Bob") {
            Press(hAdd, IDC_ADD_WANTS_PASSWORD);
            EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(::GetDlgItem(hAdd, IDC_ADD_PASSWORD)) != FALSE; }, kSoon))
                << "ticking the box enables the password";
            SetText(hAdd, IDC_ADD_PASSWORD, "bob1");
            CProgramUnderTest::Pause(200);
            program.Screenshot("admin-add-account");
            expected.m_children.Add(pszName, "bob1");
        } else {
            expected.m_children.Add(pszName);
        }
        CProgramUnderTest::Click(hAdd, IDOK);
        expected.m_weeks.Add(CUserPrj(pszName));
        const BYTES children = WithoutPasswords(expected.Children(), 172);
        EXPECT_EQ(FileSoon(program, "child.nam", children, 172), children) << pszName;
        const BYTES weeks = expected.Weeks();
        EXPECT_EQ(FileSoon(program, "prj.nam", weeks), weeks) << pszName;
    }
    program.Screenshot("admin-account-manager");
    CProgramUnderTest::Click(hManager, IDOK);
    EXPECT_TRUE(WaitFor([&] { return CProgramUnderTest::ItemText(hEditor, IDC_ARR_USER) == "Alice"; }, kSoon))
        << "the editor shows the first child: " << CProgramUnderTest::ItemText(hEditor, IDC_ARR_USER);

    // Alice's week: today forbidden, tomorrow free, the day after two and a half hours at most.
    const int nToday = CClock::ToLocal(CClock::Now()).nWeekday;
    HWND hList = ::GetDlgItem(hEditor, IDC_ARR_WEEK);
    CUserPrj* pAlice = expected.m_weeks.Find("Alice");
    // The choice and the click are posted to the editor's thread and taken in their order.
    Press(hEditor, IDC_ARR_FORBID);
    CProgramUnderTest::Click(hEditor, IDC_ARR_SAVE);
    pAlice->m_days[nToday].m_bForbid = 1;
    pAlice->m_days[nToday].ClearLimits();
    BYTES weeks = expected.Weeks();
    EXPECT_EQ(FileSoon(program, "prj.nam", weeks), weeks) << "forbidden today";
    program.Screenshot("admin-editor-forbid");

    Key(hList, VK_DOWN);
    const int nTomorrow = (nToday + 1) % 7;
    if (nToday != 6) {  // Saturday is the last row
        EXPECT_TRUE(WaitFor([&] { return SelectedRow(hList) == nTomorrow; }, kSoon)) << "the row below is chosen";
        EXPECT_TRUE(IsChecked(hEditor, IDC_ARR_CONDITIONAL)) << "tomorrow is still the default";
        Press(hEditor, IDC_ARR_FREE);
        CProgramUnderTest::Click(hEditor, IDC_ARR_SAVE);
        pAlice->m_days[nTomorrow].m_bFree = 1;
        pAlice->m_days[nTomorrow].ClearLimits();
        weeks = expected.Weeks();
        EXPECT_EQ(FileSoon(program, "prj.nam", weeks), weeks) << "free tomorrow";
        program.Screenshot("admin-editor-free");
    }
    Key(hList, VK_HOME);
    EXPECT_TRUE(WaitFor([&] { return SelectedRow(hList) == 0; }, kSoon)) << "Sunday's row is chosen";
    if (nToday != 0 && nTomorrow != 0) {
        EXPECT_TRUE(IsChecked(hEditor, IDC_ARR_CONDITIONAL));
        Choose(hEditor, IDC_ARR_TOTAL_HOURS, 2);
        CProgramUnderTest::Click(hEditor, IDC_ARR_SAVE);
        pAlice->m_days[0].m_nTotalHours = 2;
        weeks = expected.Weeks();
        EXPECT_EQ(FileSoon(program, "prj.nam", weeks), weeks) << "Sunday with two and a half hours";
        program.Screenshot("admin-editor-conditional");
    }

    // Switch user: the lock screen comes back with the new accounts; Bob's wrong password is refused.
    CProgramUnderTest::Click(hEditor, IDC_ARR_SWITCH_USER);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hEditor) && ::IsWindowVisible(hLock); }, kSoon))
        << "the editor is gone and the lock screen back";
    EXPECT_EQ(::SendMessageA(::GetDlgItem(hLock, IDC_LOCK_ACCOUNT), CB_GETCOUNT, 0, 0), 3);
    ASSERT_TRUE(ChooseAccount(hLock, 2));
    EXPECT_EQ(CProgramUnderTest::ItemText(hLock, IDC_LOCK_ACCOUNT), "Bob");
    SetText(hLock, IDC_LOCK_PASSWORD, "bob2");
    CProgramUnderTest::Click(hLock, IDC_LOCK_LOGIN);
    hBox = program.WaitForWindow(0xFFFF, 5000, nPid);
    ASSERT_NE(hBox, nullptr) << "no message about Bob's wrong password";
    EXPECT_EQ(CProgramUnderTest::ItemText(hBox, 0xFFFF), "The password you entered is incorrect.");
    CProgramUnderTest::Click(hBox, IDOK);
    CProgramUnderTest::Pause(300);
    program.Screenshot("admin-lock-screen-children");
    EXPECT_TRUE(WrongPasswordWaitEnds(hLock));

    // The Administrator again, and the editor's close button ends the program and its companion.
    ASSERT_TRUE(ChooseAccount(hLock, 0));
    SetText(hLock, IDC_LOCK_PASSWORD, "secret");
    CProgramUnderTest::Click(hLock, IDC_LOCK_LOGIN);
    hEditor = program.WaitForWindow(IDC_ARR_WEEK, 10000, nPid);
    ASSERT_NE(hEditor, nullptr);
    CProgramUnderTest::Click(hEditor, IDC_TITLE_CLOSE);
    EXPECT_TRUE(program.WaitForExit(nPid, 10000)) << "closing the editor ends the program";
    bool bCompanionGone = false;
    for (int n = 0; n < 100 && !bCompanionGone; ++n) {
        bCompanionGone = program.FindProcesses("Tessaly.exe").empty();
        if (!bCompanionGone) CProgramUnderTest::Pause(100);
    }
    EXPECT_TRUE(bCompanionGone) << "the companion ends when the program was closed on purpose";
    EXPECT_EQ(WithoutPasswords(program.ReadFile("child.nam"), 172), WithoutPasswords(expected.Children(), 172));
    EXPECT_TRUE(HoldsHashed(program.ReadFile("child.nam"), 172 + 128, "bob1"));
    EXPECT_EQ(program.ReadFile("prj.nam"), expected.Weeks());
}
