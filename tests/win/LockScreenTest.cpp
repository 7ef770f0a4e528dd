// The lock screen in process, created by a real controller that is the application's main
// window: the accounts it lists, refused and accepted passwords, the keys and system commands it
// swallows, the editor and status window it opens with the state reported to the companion, the
// hot key and tray commands that bring it back or end the program, and what it does not take
// while hidden.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "companion/win32/MyMessenger.h"
#include "core/rules/UsageState.h"
#include "core/seams/DataFolder.h"
#include "core/store/EventLog.h"
#include "core/store/ExtraTimeStore.h"
#include "core/store/RecordField.h"
#include "core/store/UsageStore.h"
#include "core/texts/Utilities.h"
#include "DialogAnswer.h"
#include "LookTestSupport.h"
#include "resources/resource.h"
#include "support/FailingFiles.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeSystemActions.h"
#include "support/ScreenCapture.h"
#include "support/TempFolder.h"
#include "support/WaitUntil.h"
#include "win/app/ControlDlg.h"
#include "win/framework/WinApp.h"
#include "win/windows/ArrangementDlg.h"
#include "win/windows/LockDlg.h"
#include "win/windows/StatusWnd.h"

namespace {


class LockScreen : public ::testing::Test {
protected:
    // An Administrator with the given password, Tom without one (but a stored text) and Ann with one.
    void Start(const std::string& strAdminPassword) {
        CAdminAccount admin;
        admin.m_admin.bFirstRunPending = 0;
        CopyToField(strAdminPassword, admin.m_admin.szPassword, sizeof admin.m_admin.szPassword);
        admin.Save();
        CChildAccountList children;
        children.Add("Tom", "unused");
        children.Add("Ann", "ann");
        children.Save();
        m_folder.Write("child.nam", [&] {
            BYTES bytes = m_folder.Read("child.nam");
            bytes[128 + 32] = 0;  // Tom's bHasPassword
            return bytes;
        }());
        m_pControl = std::make_unique<CControlDlg>();
        m_pControl->UseMessenger(&m_messenger);
        CWinApp::Get()->SetMainWnd(m_pControl.get());
        ASSERT_TRUE(m_pControl->Create());
        ASSERT_TRUE(WaitUntil([this] { return m_pControl->GetLockDlg() != nullptr; }));
        m_pLock = m_pControl->GetLockDlg();
        m_hLock = m_pLock->m_hWnd;
    }
    void TearDown() override {
        if (m_pControl && m_pControl->m_hWnd) m_pControl->DestroyWindow();
        CWinApp::Get()->SetMainWnd(nullptr);
        m_pControl.reset();
        m_messenger.SetMainProgState(m_nSavedState);
    }
    void Choose(int nIndex) const {
        HWND hCombo = ::GetDlgItem(m_hLock, IDC_LOCK_ACCOUNT);
        ::SendMessageA(hCombo, CB_SETCURSEL, nIndex, 0);
        ::SendMessageA(m_hLock, WM_COMMAND, MAKEWPARAM(IDC_LOCK_ACCOUNT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
    }
    void Type(const std::string& strText) const { ::SetDlgItemTextA(m_hLock, IDC_LOCK_PASSWORD, strText.c_str()); }
    std::string Typed() const {
        char sz[64] = {};
        ::GetDlgItemTextA(m_hLock, IDC_LOCK_PASSWORD, sz, sizeof sz);
        return sz;
    }
    void Login() const { ::SendMessageA(m_hLock, WM_COMMAND, MAKEWPARAM(IDC_LOCK_LOGIN, BN_CLICKED), 0); }
    void PressEnter() const {
        MSG msg{::GetDlgItem(m_hLock, IDC_LOCK_PASSWORD), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
        EXPECT_TRUE(CWinApp::PreTranslate(&msg));
    }

    CTempFolder m_folder;
    CFakeSystemActions m_system;
    CMyMessenger m_messenger;
    int m_nSavedState = m_messenger.GetMainProgState();
    std::unique_ptr<CControlDlg> m_pControl;
    CLockDlg* m_pLock = nullptr;
    HWND m_hLock = nullptr;
};

}  // namespace

TEST_F(LockScreen, ListsTheAccountsRefusesAWrongPasswordAndSwallowsEscapeAndClose) {
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 10, 0, 0)};
    Start("pw");
    EXPECT_TRUE(::IsWindowVisible(m_hLock));
    EXPECT_EQ(m_pLock->m_bHidden, 0);
    HWND hCombo = ::GetDlgItem(m_hLock, IDC_LOCK_ACCOUNT);
    ASSERT_EQ(::SendMessageA(hCombo, CB_GETCOUNT, 0, 0), 3);
    char szItem[64] = {};
    for (auto [nIndex, pszName] : {std::pair{0, "Administrator"}, {1, "Tom"}, {2, "Ann"}}) {
        ::SendMessageA(hCombo, CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(szItem));
        EXPECT_STREQ(szItem, pszName);
    }
    EXPECT_EQ(::SendMessageA(hCombo, CB_GETCURSEL, 0, 0), 0);
    char szText[64] = {};
    ::GetDlgItemTextA(m_hLock, IDC_LOCK_GROUP, szText, sizeof szText);
    EXPECT_STREQ(szText, "The screen is locked. Please Login.");
    ::GetDlgItemTextA(m_hLock, IDC_TITLE, szText, sizeof szText);
    EXPECT_STREQ(szText, "Quenby 1.0");
    if (const std::string strFolder = ScreenshotFolder(); !strFolder.empty()) {
        WaitUntil([] { return false; }, 300);
        RECT rc;
        ::GetWindowRect(m_hLock, &rc);
        SaveScreenArea(rc, strFolder + "lock-screen.bmp");
    }

    Type("typed");
    Choose(2);
    EXPECT_EQ(Typed(), "") << "another account empties the field";

    Choose(0);
    Type("PW");
    {
        CMessageBoxCloser closer;
        Login();
        ASSERT_EQ(closer.m_texts.size(), 1u);
        EXPECT_EQ(closer.m_texts[0], "The password you entered is incorrect.");
        EXPECT_EQ(closer.m_captions[0], "Wrong password");
    }
    EXPECT_EQ(Typed(), "");
    EXPECT_EQ(::SendMessageA(hCombo, CB_GETCURSEL, 0, 0), 0) << "the account stays selected";
    EXPECT_EQ(m_pLock->m_pSettingsWnd, nullptr);
    ::GetDlgItemTextA(m_hLock, IDC_LOCK_GROUP, szText, sizeof szText);
    EXPECT_STREQ(szText, "Wrong password. Next try in 1 s.");
    ASSERT_FALSE(CEventLog::ReadAll().empty());
    EXPECT_EQ(CEventLog::ReadAll().back().strKind, "wrong password");

    // Each wrong password doubles the wait; a try within it is not looked at, not even the right one.
    clock.Advance(1);
    Type("wrong");
    {
        CMessageBoxCloser closer;
        Login();
    }
    ::SendMessageA(m_hLock, WM_TIMER, CLockDlg::kFrontTimer, 0);
    ::GetDlgItemTextA(m_hLock, IDC_LOCK_GROUP, szText, sizeof szText);
    EXPECT_STREQ(szText, "Wrong password. Next try in 2 s.");
    if (const std::string strFolder = ScreenshotFolder(); !strFolder.empty()) {
        WaitUntil([] { return false; }, 300);  // the closed box's area repainted
        RECT rc;
        ::GetWindowRect(m_hLock, &rc);
        SaveScreenArea(rc, strFolder + "lock-screen-waiting.bmp");
    }
    clock.Advance(1);
    Type("pw");
    {
        CMessageBoxCloser closer;
        Login();
        ASSERT_EQ(closer.m_texts.size(), 1u);
        EXPECT_EQ(closer.m_texts[0], "The next try is taken in 1 s. Please wait.");
    }
    EXPECT_EQ(m_pLock->m_pSettingsWnd, nullptr);
    clock.Advance(1);
    ::SendMessageA(m_hLock, WM_TIMER, CLockDlg::kFrontTimer, 0);
    ::GetDlgItemTextA(m_hLock, IDC_LOCK_GROUP, szText, sizeof szText);
    EXPECT_STREQ(szText, "The screen is locked. Please Login.");

    MSG escape{::GetDlgItem(m_hLock, IDC_LOCK_PASSWORD), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(CWinApp::PreTranslate(&escape));
    ::SendMessageA(m_hLock, WM_SYSCOMMAND, SC_CLOSE, 0);
    m_pControl->UnlockDesktop();
    ::SendMessageA(m_hLock, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(::IsWindow(m_hLock) && ::IsWindowVisible(m_hLock));
}

TEST_F(LockScreen, TheAdministratorWithoutPasswordGetsTheEditorAndTheHotKeyBringsTheLockBack) {
    Start("");
    PressEnter();  // an empty field for an empty password
    ASSERT_NE(m_pLock->m_pSettingsWnd, nullptr);
    HWND hEditor = m_pLock->m_pSettingsWnd->m_hWnd;
    EXPECT_TRUE(::IsWindowVisible(hEditor));
    EXPECT_FALSE(::IsWindowVisible(m_hLock));
    EXPECT_EQ(m_pLock->m_bHidden, 1);
    EXPECT_EQ(m_messenger.GetMainProgState(), 4);
    EXPECT_EQ(m_pControl->IsLocked(), 0) << "the desktop is released";
    EXPECT_EQ(m_pControl->LoggedIn(), LOGGED_IN::ADMINISTRATOR);

    // While the editor is busy the hot key does nothing; then it switches the user.
    m_pLock->m_pSettingsWnd->m_bBusy = 1;
    m_pControl->SendMessage(WM_HOTKEY, ID_HOTKEY_SWITCH);
    EXPECT_TRUE(::IsWindow(hEditor));
    m_pLock->m_pSettingsWnd->m_bBusy = 0;
    m_pControl->SendMessage(WM_HOTKEY, ID_HOTKEY_SWITCH);
    EXPECT_FALSE(::IsWindow(hEditor));
    EXPECT_EQ(m_pLock->m_pSettingsWnd, nullptr) << "the editor cleared its pointer";
    EXPECT_TRUE(::IsWindowVisible(m_hLock));
    EXPECT_EQ(m_pLock->m_bHidden, 0);
    EXPECT_EQ(m_pControl->IsLocked(), 1);
    EXPECT_EQ(m_messenger.GetMainProgState(), 1) << "no child has logged in";

    // The tray's "Switch User" does the same.
    PressEnter();
    ASSERT_NE(m_pLock->m_pSettingsWnd, nullptr);
    hEditor = m_pLock->m_pSettingsWnd->m_hWnd;
    m_pControl->SendMessage(WM_COMMAND, ID_TRAY_SWITCH_EDITOR);
    EXPECT_FALSE(::IsWindow(hEditor));
    EXPECT_TRUE(::IsWindowVisible(m_hLock));

    // The tray's Quit, which the Administrator's menu offers, ends the program.
    PressEnter();
    ASSERT_NE(m_pLock->m_pSettingsWnd, nullptr);
    m_pControl->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TRAY_QUIT, 0));
    EXPECT_EQ(m_pControl->m_hWnd, nullptr);
}

TEST_F(LockScreen, AChildWithoutPasswordIsAdmittedOnlyWithAnEmptyFieldAndGetsTheStatusWindow) {
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 10, 0, 0)};
    Start("pw");
    Choose(1);
    Type("unused");
    {
        CMessageBoxCloser closer;
        Login();
        EXPECT_EQ(closer.m_texts.size(), 1u) << "the stored text does not count while bHasPassword is 0";
    }
    EXPECT_EQ(m_pLock->m_pStatusWnd, nullptr);
    clock.Advance(1);  // the wait after one wrong password
    Login();
    ASSERT_NE(m_pLock->m_pStatusWnd, nullptr);
    EXPECT_FALSE(::IsWindowVisible(m_hLock));
    EXPECT_EQ(m_messenger.GetMainProgState(), 2);
    EXPECT_EQ(m_pControl->LoggedIn(), LOGGED_IN::CHILD);
    EXPECT_EQ(m_pLock->LoggedInChild(), "Tom");

    // What a program of the child's sends meanwhile: the Administrator's Quit, and a login at the
    // hidden lock screen with the Administrator's password typed in. Neither does anything.
    m_pControl->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TRAY_QUIT, 0));
    ASSERT_TRUE(::IsWindow(m_pControl->m_hWnd)) << "Quit is the Administrator's";
    Choose(0);
    Type("pw");
    Login();
    EXPECT_EQ(m_pLock->m_pSettingsWnd, nullptr) << "no login at a hidden lock screen";
    // A desktop of the child's gets the input: switched back while the child is logged in.
    {
        CFakeDesktop desktop;
        m_pControl->UnlockDesktop();
        desktop.m_strInput = "Games";
        m_pControl->GuardTick();
        EXPECT_EQ(desktop.m_strInput, "Default");
    }

    // Closing the controller destroys the lock screen and the status window with it.
    HWND hStatus = m_pLock->m_pStatusWnd->m_hWnd;
    m_pControl->DestroyWindow();
    EXPECT_FALSE(::IsWindow(hStatus));
    EXPECT_FALSE(::IsWindow(m_hLock));
}

TEST_F(LockScreen, AnotherWindowInFrontIsPutBehindWithinASecond) {
    Start("pw");
    HWND hOther = ::CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    ::SetForegroundWindow(hOther);
    EXPECT_TRUE(WaitUntil([this] { return ::GetForegroundWindow() == m_hLock; }, 2500));
    ::DestroyWindow(hOther);
}

TEST_F(LockScreen, TheKeepInFrontCheckCoversAMonitorAddedWhileLocked) {
    Start("pw");
    m_pControl->DesktopLock().UseScreenLayout(SingleScreenLayout(1366, 768));
    m_pControl->LockDesktop();
    ASSERT_TRUE(m_pControl->CurtainCoversScreen());
    // A second monitor to the left of the primary one: the curtain over the primary alone no
    // longer counts as covering, and the next check puts it over both.
    const SCREEN_LAYOUT two{1366, 768, {-1280, 0, 1366, 1024}, 2, {{0, 0, 1366, 768}, {-1280, 0, 0, 1024}}};
    m_pControl->DesktopLock().UseScreenLayout(two);
    EXPECT_FALSE(m_pControl->CurtainCoversScreen());
    ::SendMessageA(m_hLock, WM_TIMER, CLockDlg::kFrontTimer, 0);
    RECT rc{};
    ::GetWindowRect(m_pControl->m_hWnd, &rc);
    const RECT rcWanted = CurtainRect(two);
    EXPECT_TRUE(rc.left == rcWanted.left && rc.top == rcWanted.top && rc.right == rcWanted.right &&
                rc.bottom == rcWanted.bottom)
        << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
    EXPECT_TRUE(m_pControl->CurtainCoversScreen());
}

TEST_F(LockScreen, ClosingTheEditorStillEndsTheProgramThoughTheCurtainRefusesAClose) {
    Start("");
    m_pControl->SendMessage(WM_CLOSE);
    ASSERT_TRUE(::IsWindow(m_pControl->m_hWnd));
    PressEnter();
    ASSERT_NE(m_pLock->m_pSettingsWnd, nullptr);
    ::SendMessageA(m_pLock->m_pSettingsWnd->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(m_pControl->m_hWnd, nullptr) << "the controller is gone";
    EXPECT_EQ(m_messenger.GetMainProgState(), 3) << "the companion was told not to bring it back";
}

TEST_F(LockScreen, SaysInPlainWordsWhenItsDataFolderTakesNoFiles) {
    Start("pw");
    EXPECT_EQ(::GetDlgItem(m_hLock, IDC_LOCK_DATA_WARNING), nullptr) << "no warning while the folder takes files";
    TearDown();

    // A data folder whose saves fail: the start-up proof fails and the lock screen says so.
    {
        CFailingFiles failing;
        failing.FailAfter(0);
        ASSERT_FALSE(CDataFolder::ProveWritable());
    }
    const std::string strFolder = m_folder.Folder();
    Start("pw");
    HWND hWarning = ::GetDlgItem(m_hLock, IDC_LOCK_DATA_WARNING);
    ASSERT_NE(hWarning, nullptr);
    EXPECT_TRUE(::IsWindowVisible(hWarning));
    char szText[512] = {};
    ::GetWindowTextA(hWarning, szText, sizeof szText);
    EXPECT_NE(std::string(szText).find("cannot save its data in " + strFolder), std::string::npos) << szText;
    // It lies below the buttons, inside the lock screen.
    RECT rcWarning{}, rcLogin{}, rcLock{};
    ::GetWindowRect(hWarning, &rcWarning);
    ::GetWindowRect(::GetDlgItem(m_hLock, IDC_LOCK_LOGIN), &rcLogin);
    ::GetWindowRect(m_hLock, &rcLock);
    EXPECT_GE(rcWarning.top, rcLogin.bottom);
    EXPECT_LE(rcWarning.bottom, rcLock.bottom);
    if (const std::string strShots = ScreenshotFolder(); !strShots.empty()) {
        WaitUntil([] { return false; }, 300);
        SaveScreenArea(rcLock, strShots + "lock-screen-unwritable.bmp");
    }

    EXPECT_TRUE(CDataFolder::ProveWritable());
}

// "Ask for more time" appears for a child whose day stands locked by the total or the period, and
// what is granted there waits in extra.tim for the child's next login of the day.
TEST_F(LockScreen, AskForMoreTimeIsOfferedForAChildLockedForTheDay) {
    CFakeClock clock(CClock::MakeLocal(2026, 5, 12, 16, 0, 0));
    CUsageStore usage;
    for (auto [pszName, nState] : {std::pair{"Tom", int(STATE_TOTAL_USED_UP)}, {"Ann", int(STATE_ALLOWED)}}) {
        USAGE_RECORD record;
        record.strUser = pszName;
        record.nStateId = nState;
        record.tLastSave = clock.Now() - 600;
        usage.Add(record);
    }
    ASSERT_TRUE(usage.Save());
    Start("pw");
    HWND hAsk = ::GetDlgItem(m_hLock, IDC_LOCK_ASK_MORE);
    RECT rcBase{};
    ::GetWindowRect(m_hLock, &rcBase);
    EXPECT_FALSE(::IsWindowVisible(hAsk));
    Choose(1);  // Tom, locked by his total
    EXPECT_TRUE(::IsWindowVisible(hAsk));
    RECT rcGrown{}, rcButton{};
    ::GetWindowRect(m_hLock, &rcGrown);
    ::GetWindowRect(hAsk, &rcButton);
    EXPECT_GT(rcGrown.bottom - rcGrown.top, rcBase.bottom - rcBase.top);
    EXPECT_LE(rcButton.bottom, rcGrown.bottom) << "the grown window holds the button";
    if (const std::string strFolder = ScreenshotFolder(); !strFolder.empty()) {
        ::RedrawWindow(m_hLock, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SaveScreenArea(rcGrown, strFolder + "lock-screen-ask-more.bmp");
    }
    Choose(2);  // Ann is in use
    EXPECT_FALSE(::IsWindowVisible(hAsk));
    Choose(0);
    EXPECT_FALSE(::IsWindowVisible(hAsk));

    Choose(1);
    {
        CDialogAnswer grant(IDC_EXTRA_PASSWORD, [](HWND hDlg) {
            ::CheckRadioButton(hDlg, IDC_EXTRA_15, IDC_EXTRA_REST_OF_DAY, IDC_EXTRA_60);
            ::SetDlgItemTextA(hDlg, IDC_EXTRA_PASSWORD, "pw");
            CDialogAnswer::Click(hDlg, IDOK);
        });
        ::SendMessageA(m_hLock, WM_COMMAND, MAKEWPARAM(IDC_LOCK_ASK_MORE, BN_CLICKED), 0);
        EXPECT_EQ(grant.m_nAnswered, 1);
    }
    CExtraTimeStore stored;
    ASSERT_TRUE(stored.Load());
    ASSERT_NE(stored.Find("Tom"), nullptr);
    EXPECT_EQ(*stored.Find("Tom"), (EXTRA_RECORD{"Tom", 20260512, 3600, 3600, 0}));
    EXPECT_EQ(stored.Find("Ann"), nullptr);
}
