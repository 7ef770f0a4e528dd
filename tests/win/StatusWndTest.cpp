// The child's side in process: the status window alone with fake hosts, driven tick by tick with
// WM_TIMER and the fake clock (the notice, the mini window, the buttons, the saves, the notice
// settings and extra-time dialogs); and, logged in at the lock screen of the real controller, what
// the controller adds to a child's session (the clock guard, the power messages, the end of the
// Windows session).
#include <gtest/gtest.h>

#include <cstdio>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/rules/LoginThrottle.h"
#include "core/rules/UsageState.h"
#include "core/store/AdminAccount.h"
#include "core/store/EventLog.h"
#include "core/store/ExtraTimeStore.h"
#include "core/store/PrjStore.h"
#include "core/store/ProgramRuleStore.h"
#include "core/store/ProgramUseStore.h"
#include "core/store/RecordField.h"
#include "core/store/UsageStore.h"
#include "core/store/UserPrj.h"
#include "DialogAnswer.h"
#include "FakeHosts.h"
#include "LookTestSupport.h"
#include "OtherProgram.h"
#include "resources/resource.h"
#include "support/EventRecorder.h"
#include "support/FailingFiles.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeProcesses.h"
#include "support/FakeSystemActions.h"
#include "support/ScreenCapture.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"
#include "support/WaitUntil.h"
#include "support/WeekFile.h"
#include "win/app/ControlDlg.h"
#include "win/framework/WinApp.h"
#include "win/windows/LockDlg.h"
#include "win/windows/MiniWnd.h"
#include "win/windows/NoticeSettingsDlg.h"
#include "win/windows/NoticeWnd.h"
#include "win/windows/StatusWnd.h"

namespace {

// 12 May 2026 is a Tuesday.
TIMESECS At(int nHour, int nMinute, int nSecond, int nDay = 12) {
    return CClock::MakeLocal(2026, 5, nDay, nHour, nMinute, nSecond);
}

CDayPrj Day(bool bTotal, int nTotalMinutes, bool bRest, int nEvery, int nRestMinutes) {
    CDayPrj day;
    day.m_bTotalLimit = bTotal;
    day.m_nTotalHours = 0;
    day.m_nTotalMinutes = nTotalMinutes;
    day.m_bRest = bRest;
    day.m_nRestEvery = nEvery;
    day.m_nRestMinutes = nRestMinutes;
    day.m_bPeriod = 0;
    return day;
}

// Runs the messages waiting, and those they post, until none is left. Bounded: Wine can keep
// reporting a paint for a window it thinks is covered, and then the queue never runs dry.
void Pump() {
    MSG msg;
    for (int n = 0; n < 5000 && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool Enabled(const CStatusWnd* pWnd, int nId) { return ::IsWindowEnabled(::GetDlgItem(pWnd->m_hWnd, nId)) != FALSE; }

// What both fixtures share: the clock, the data folder, the child's week, the ticks and what the
// window shows.
class CStatusWndTest : public ::testing::Test {
protected:
    void WriteWeek(const CDayPrj& day) { ASSERT_TRUE(SaveWeek(WeekOf("kid", day))); }
    // One second passes and the tick timer fires.
    void Tick(int nCount = 1) {
        for (int i = 0; i < nCount; ++i) {
            m_clock.Advance(1);
            m_pStatus->SendMessage(WM_TIMER, 1, 0);
        }
    }
    void Click(int nId) { m_pStatus->SendMessage(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), 0); }
    int State() { return m_pStatus->Context().GetStateId(); }
    int Kind() { return m_pStatus->Context().GetLockKind(); }
    int Used() { return m_pStatus->Context().UsedSecs(); }
    std::string StatusText() const { return m_pStatus->GetDlgItemText(IDC_STATUS_TEXT); }
    // The used seconds use.sta holds for kid, -1 without a record.
    int StoredUsedSecs() const {
        CUsageStore store;
        store.Load();
        const USAGE_RECORD* pKid = store.Find("kid");
        return pKid ? pKid->nUsedSecs : -1;
    }
    // The buttons as a string: "S" start, "R" rest, "T" setting when enabled, "-" when not.
    std::string Buttons() const {
        return std::string(Enabled(m_pStatus, IDC_STATUS_START) ? "S" : "-") +
               (Enabled(m_pStatus, IDC_STATUS_REST) ? "R" : "-") + (Enabled(m_pStatus, IDC_STATUS_SETTING) ? "T" : "-");
    }
    void Shot(const std::string& strName) const {
        const std::string strFolder = ScreenshotFolder();
        if (strFolder.empty()) return;
        ::RedrawWindow(m_pStatus->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SaveWindowShot(m_pStatus->m_hWnd, strFolder + strName);
    }
    // kid's account, with a notice 20 seconds ahead.
    static void AddKid(CChildAccountList& accounts) {
        accounts.Add("kid");
        accounts.SetNoticeSeconds("kid", 20);
        accounts.Save();
    }

    CTimeZone m_zone{"UTC0"};
    CTempFolder m_folder;
    CFakeSystemActions m_system;
    CFakeClock m_clock{At(14, 0, 0)};
    CStatusWnd* m_pStatus = nullptr;
};

// The status window alone: the controller and the lock screen are the fakes of their interfaces.
class StatusWnd : public CStatusWndTest {
protected:
    void SetUp() override {
        m_clock.SetZone(0);
        m_clock.Set(At(14, 0, 0));
        AddKid(m_store.m_childAccounts);
    }
    void TearDown() override {
        if (m_pStatus && m_pStatus->m_hWnd) m_pStatus->DestroyWindow();
        m_pStatus = nullptr;
    }
    void Login() {
        m_pStatus = new CStatusWnd(&m_store, &m_host, &m_lockScreen, "kid");
        ASSERT_TRUE(m_pStatus->Create());
        m_pStatus->ShowWindow(SW_SHOW);
    }

    CDataStore m_store;
    CFakeControllerHost m_host;
    CFakeAccountWindowHost m_lockScreen;
};

// The real controller as the main window, the child logged in at its lock screen.
class StatusWndInTheProgram : public CStatusWndTest {
protected:
    void SetUp() override {
        m_clock.SetZone(0);
        m_clock.Set(At(14, 0, 0));
        // No first-run dialog: the controller shows the lock screen.
        CAdminAccount admin;
        admin.m_admin.bFirstRunPending = 0;
        ASSERT_TRUE(admin.Save());
        CChildAccountList accounts;
        AddKid(accounts);
        m_pControl = std::make_unique<CControlDlg>();
        ASSERT_TRUE(m_pControl->Create());
        CWinApp::Get()->SetMainWnd(m_pControl.get());
        ASSERT_TRUE(WaitUntil([this] { return m_pControl->GetLockDlg() != nullptr; })) << "the lock screen";
    }
    void TearDown() override {
        if (m_pStatus && m_pStatus->m_hWnd) m_pStatus->DestroyWindow();
        m_pStatus = nullptr;
        if (m_pControl && m_pControl->m_hWnd) m_pControl->DestroyWindow();
        CWinApp::Get()->SetMainWnd(nullptr);
        m_pControl.reset();
    }
    // kid chosen at the lock screen (after the Administrator) and logged in without a password.
    void Login() {
        CLockDlg* pLock = m_pControl->GetLockDlg();
        HWND hCombo = pLock->GetDlgItem(IDC_LOCK_ACCOUNT);
        ::SendMessageA(hCombo, CB_SETCURSEL, 1, 0);
        pLock->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LOCK_ACCOUNT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
        pLock->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LOCK_LOGIN, BN_CLICKED), 0);
        m_pStatus = pLock->m_pStatusWnd;
        ASSERT_NE(m_pStatus, nullptr) << "kid's status window is open";
    }

    std::unique_ptr<CControlDlg> m_pControl;
};

}  // namespace

TEST_F(StatusWnd, AChildsAfternoonWarnedRestingAndStartingAgain) {
    // Rest 1 minute after every 1 minute of use; lead time 20 seconds.
    WriteWeek(Day(false, 0, true, 1, 1));
    Login();
    EXPECT_EQ(State(), STATE_ALLOWED);
    EXPECT_FALSE(m_host.IsLocked()) << "the state allows use, so the desktop is released";
    EXPECT_EQ(Buttons(), "-RT");
    EXPECT_EQ(m_pStatus->GetDlgItemText(IDC_TITLE), "User kid, Tuesday");
    EXPECT_EQ(m_pStatus->GetDlgItemText(IDC_STATUS_TOTAL), "Today total used 00:00:00 ");
    EXPECT_FALSE(m_host.m_bCloseOffered) << "the curtain's Close is greyed out for a child";
    EXPECT_EQ(m_host.m_hAboveCurtain, m_pStatus->m_hWnd);
    Shot("status-in-use.bmp");

    CNoticeWnd* pNotice = m_pStatus->NoticeWnd();
    ASSERT_NE(pNotice, nullptr);
    EXPECT_EQ(pNotice->GetLeadSeconds(), 20);
    Tick(39);
    EXPECT_FALSE(pNotice->IsShown()) << "21 seconds left, lead 20";
    Tick();
    EXPECT_TRUE(pNotice->IsShown());
    EXPECT_EQ(pNotice->GetText(), "Screen will be locked after 20 seconds");
    EXPECT_TRUE(pNotice->IsBeepSlow());
    EXPECT_EQ(pNotice->GetAlpha(), CNoticeWnd::kShownAlpha);
    if (const std::string strFolder = ScreenshotFolder(); !strFolder.empty()) {
        RECT rc{};
        ::GetWindowRect(pNotice->m_hWnd, &rc);
        ::InflateRect(&rc, 40, 60);
        SaveScreenArea(rc, strFolder + "notice-over-window.bmp");
    }
    // The slow rhythm plays on the one-second timer only.
    m_system.m_calls.clear();
    pNotice->SendMessage(WM_TIMER, CNoticeWnd::kSlowTimer, 0);
    pNotice->SendMessage(WM_TIMER, CNoticeWnd::kFastTimer, 0);
    ASSERT_EQ(m_system.CallsStartingWith("play ").size(), 1u);
    EXPECT_NE(m_system.m_calls[0].find("alert.wav"), std::string::npos) << m_system.m_calls[0];
    Tick(9);
    EXPECT_TRUE(pNotice->IsBeepSlow()) << "11 seconds left";
    Tick();
    EXPECT_TRUE(pNotice->IsBeepFast()) << "10 seconds left";
    EXPECT_FALSE(pNotice->IsBeepSlow());
    EXPECT_EQ(pNotice->GetText(), "Screen will be locked after 10 seconds");
    m_system.m_calls.clear();
    pNotice->SendMessage(WM_TIMER, CNoticeWnd::kSlowTimer, 0);
    pNotice->SendMessage(WM_TIMER, CNoticeWnd::kFastTimer, 0);
    pNotice->SendMessage(WM_TIMER, CNoticeWnd::kFastTimer, 0);
    EXPECT_EQ(m_system.CallsStartingWith("play ").size(), 2u);

    // The forced rest: locked, curtain up, the status window in front with the countdown.
    Tick(10);
    EXPECT_EQ(State(), STATE_FORCED_REST);
    EXPECT_TRUE(m_host.IsLocked());
    EXPECT_EQ(Buttons(), "---");
    EXPECT_FALSE(pNotice->IsShown()) << "any lock hides the notice";
    EXPECT_FALSE(pNotice->IsBeepSlow() || pNotice->IsBeepFast());
    EXPECT_TRUE(m_pStatus->IsWindowVisible());
    EXPECT_TRUE(::GetWindowLongA(m_pStatus->m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(m_pStatus->LockTicks(), 1);
    EXPECT_NE(StatusText().find("\r\n"), std::string::npos) << "two lines with the countdown: " << StatusText();
    EXPECT_EQ(m_host.m_strTrayTip, m_pStatus->Context().Texts().strStatusLine);
    Shot("status-forced-rest.bmp");
    // Closing does nothing while locked: the program does not drop to the tray.
    m_pStatus->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(m_host.m_bInTray);

    Tick(60);
    EXPECT_EQ(State(), STATE_REST_DONE);
    EXPECT_EQ(Kind(), LOCK_UNTIL_START);
    EXPECT_EQ(Buttons(), "S--");
    EXPECT_TRUE(m_host.IsLocked());
    Shot("status-rest-done.bmp");
    Click(IDC_STATUS_START);
    EXPECT_EQ(State(), STATE_ALLOWED);
    EXPECT_FALSE(m_host.IsLocked());
    EXPECT_EQ(Buttons(), "-RT");
    EXPECT_EQ(m_pStatus->LockTicks(), 0);
    EXPECT_EQ(Used(), 60) << "the rest is not use";
    // Unlocked, closing drops the program to the tray.
    m_pStatus->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(m_host.m_bInTray);
}

TEST_F(StatusWnd, TakeARestLocksAtOnceAndOnlyStartToUseIsLeft) {
    WriteWeek(Day(false, 0, false, 25, 10));
    Login();
    Tick(5);
    Click(IDC_STATUS_REST);
    EXPECT_EQ(State(), STATE_USER_LOCKED);
    EXPECT_TRUE(m_host.IsLocked()) << "the handler runs the lock presentation itself";
    EXPECT_EQ(m_pStatus->LockTicks(), 1);
    EXPECT_EQ(Buttons(), "S--");
    // Two lines; the tray tip shows the second.
    const std::string strText = StatusText();
    ASSERT_NE(strText.find("\r\n"), std::string::npos) << strText;
    EXPECT_EQ(m_host.m_strTrayTip + ".", strText.substr(strText.find("\r\n") + 2));
    Tick(5);
    EXPECT_EQ(Used(), 5) << "resting is not use";
    // Past the first ticks, which always bring the window to the front, the lock is put back only
    // where it leaks: here a monitor switched on that the curtain leaves bare.
    const int nLockCalls = m_host.m_nLockCalls;
    Tick();
    ASSERT_EQ(m_host.m_nLockCalls, nLockCalls) << "in front, and every monitor covered";
    m_host.m_bCoversScreen = false;
    Tick();
    EXPECT_EQ(m_host.m_nLockCalls, nLockCalls + 1) << "the bare monitor is covered again";
    m_host.m_bCoversScreen = true;
    Click(IDC_STATUS_START);
    EXPECT_EQ(State(), STATE_ALLOWED);
    EXPECT_FALSE(m_host.IsLocked());
    // The tray's take-rest path does the same.
    m_pStatus->TakeRest();
    EXPECT_TRUE(m_host.IsLocked());
    EXPECT_EQ(Buttons(), "S--");
}

TEST_F(StatusWnd, TheTotalUsedUpLocksForTheDay) {
    WriteWeek(Day(true, 2, false, 25, 10));
    Login();
    Tick(119);
    EXPECT_EQ(State(), STATE_ALLOWED);
    Tick();
    EXPECT_EQ(State(), STATE_TOTAL_USED_UP);
    EXPECT_EQ(Kind(), LOCK_BY_RULE);
    EXPECT_EQ(Buttons(), "---");
    EXPECT_TRUE(m_host.IsLocked());
    EXPECT_EQ(m_pStatus->GetDlgItemText(IDC_STATUS_TOTAL), "Today total used 00:02:00 ");
    Shot("status-total-used-up.bmp");
    Click(IDC_STATUS_START);
    EXPECT_EQ(State(), STATE_TOTAL_USED_UP);
}

TEST_F(StatusWnd, ThePeriodsStartAndEnd) {
    CDayPrj day = Day(false, 0, false, 25, 10);
    day.m_bPeriod = 1;
    day.m_nStartHour = 14, day.m_nStartMinute = 1, day.m_nEndHour = 14, day.m_nEndMinute = 3;
    WriteWeek(day);
    Login();
    EXPECT_EQ(State(), STATE_OUT_OF_PERIOD);
    EXPECT_EQ(Buttons(), "---");
    EXPECT_TRUE(m_host.IsLocked());
    Tick(60);
    EXPECT_EQ(State(), STATE_OUT_OF_PERIOD) << "the start itself still counts as outside";
    Tick();
    EXPECT_EQ(Kind(), LOCK_UNTIL_START) << "the period has begun: " << State();
    EXPECT_EQ(Buttons(), "S--");
    Click(IDC_STATUS_START);
    EXPECT_EQ(State(), STATE_ALLOWED);
    EXPECT_FALSE(m_host.IsLocked());
    Tick(119);
    EXPECT_EQ(State(), STATE_OUT_OF_PERIOD) << "the end of the period counts as outside";
    EXPECT_TRUE(m_host.IsLocked());
}

TEST_F(StatusWnd, MidnightWaitsInTheNewDayThenReloadsForTheNewWeekday) {
    WriteWeek(Day(false, 0, false, 25, 10));
    m_clock.Set(At(23, 59, 30));
    Login();
    Tick(29);
    EXPECT_EQ(State(), STATE_ALLOWED);
    Tick();
    EXPECT_EQ(State(), STATE_NEW_DAY);
    EXPECT_EQ(Kind(), LOCK_UNTIL_START);
    EXPECT_TRUE(m_host.IsLocked());
    EXPECT_EQ(Used(), 30);
    Tick();
    EXPECT_EQ(State(), STATE_NEW_DAY) << "reloaded, still waiting for Start to use";
    EXPECT_EQ(Used(), 0) << "the new day's usage";
    EXPECT_EQ(m_pStatus->GetDlgItemText(IDC_TITLE), "User kid, Wednesday");
    Click(IDC_STATUS_START);
    EXPECT_EQ(State(), STATE_ALLOWED);
    EXPECT_FALSE(m_host.IsLocked()) << "released at once, not at the next tick";
    EXPECT_EQ(Buttons(), "-RT");
}

TEST_F(StatusWnd, UsageIsSavedAtSetUpEverySixtyTicksAndOnClose) {
    WriteWeek(Day(false, 0, false, 25, 10));
    Login();
    EXPECT_EQ(m_folder.Read("use.sta").size(), 220u);
    EXPECT_EQ(StoredUsedSecs(), 0);
    EXPECT_GT(m_folder.Read("userinfo.aur").size(), 0u) << "the active-user list is written at set-up";
    Tick(59);
    EXPECT_EQ(StoredUsedSecs(), 0);
    Tick();
    EXPECT_EQ(StoredUsedSecs(), 60);
    Tick(15);
    Click(IDC_STATUS_SWITCH);  // the window is gone and the object deleted
    m_pStatus = nullptr;
    EXPECT_EQ(StoredUsedSecs(), 75);
    EXPECT_TRUE(m_host.IsLocked()) << "ending the login locks the desktop";
    EXPECT_NE(m_lockScreen.m_pReleased, nullptr) << "the lock screen lets the window go";
    EXPECT_EQ(m_lockScreen.m_nBackFromStatus, 1) << "and comes back";
}

TEST_F(StatusWndInTheProgram, TheEndOfTheWindowsSessionSavesTheUseAndGivesTheHiddenWindowsBack) {
    WriteWeek(Day(false, 0, false, 25, 10));
    COtherProgram other({At({100, 100, 300, 200})});
    Login();
    Tick(75);
    ASSERT_EQ(StoredUsedSecs(), 60) << "saved at the last full minute only";
    // The child takes a rest: the other program's window is hidden and recorded.
    m_pStatus->TakeRest();
    ASSERT_EQ(m_pControl->IsLocked(), 1);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(other.m_windows[0]); }));
    ASSERT_GT(m_folder.Read("winnodes.tmp").size(), 0u);

    // Windows asks first and must never be refused; a cancelled end changes nothing.
    EXPECT_EQ(m_pControl->SendMessage(WM_QUERYENDSESSION, 0, 0), TRUE);
    m_pControl->SendMessage(WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(StoredUsedSecs(), 60);
    EXPECT_EQ(m_pControl->IsLocked(), 1);

    // The same message from another program, while Windows does not say the session ends: the
    // use is saved, and the lock stays.
    CEventRecorder events;
    CFakeDesktop desktop;
    m_pControl->SendMessage(WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(StoredUsedSecs(), 75) << "the 15 seconds since the last save are not lost";
    EXPECT_EQ(m_pControl->IsLocked(), 1);
    EXPECT_GT(m_folder.Read("winnodes.tmp").size(), 0u);

    desktop.m_bEnding = true;
    m_pControl->SendMessage(WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(events.Count(EVENT_KIND::SESSION_END), 2u) << "both are recorded";
    EXPECT_EQ(m_folder.Read("winnodes.tmp").size(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(other.m_windows[0]) != FALSE; }))
        << "the other program's window is visible again";
}

TEST_F(StatusWnd, AFailedSaveIsToldInTheWindowUntilASaveGoesThrough) {
    WriteWeek(Day(false, 0, false, 25, 10));
    Login();
    EXPECT_FALSE(m_pStatus->SaveFailed());
    {
        // The disk refuses to put the file in place.
        CFailingFiles failing;
        failing.Fail(CFailingFiles::kReplace);
        Tick(60);
        EXPECT_TRUE(m_pStatus->SaveFailed());
        EXPECT_EQ(m_pStatus->GetDlgItemText(IDC_STATUS_EXTRA_LINE), "Today's use could not be saved; trying again.");
        Shot("status-save-failed.bmp");
    }
    Tick(60);
    EXPECT_FALSE(m_pStatus->SaveFailed());
    EXPECT_EQ(m_pStatus->GetDlgItemText(IDC_STATUS_EXTRA_LINE), "");
    EXPECT_EQ(StoredUsedSecs(), 120) << "the minute that was not saved is not lost";
}

TEST_F(StatusWnd, ARestartTenMinutesLaterResumesWithTheGapCountedAsRest) {
    // Rest 5 minutes after each minute of use.
    WriteWeek(Day(false, 0, true, 1, 5));
    Login();
    Tick(60);
    ASSERT_EQ(State(), STATE_FORCED_REST);
    m_pStatus->SwitchUser();
    m_pStatus = nullptr;

    // The program comes back 10 minutes later with a fresh data store and kid still active.
    m_clock.Advance(600);
    m_store.m_activeUsers.Load();
    Login();
    EXPECT_EQ(State(), STATE_REST_DONE) << "10 minutes away cover the 5-minute rest";
    EXPECT_EQ(Used(), 60);
    EXPECT_EQ(Buttons(), "S--");
}

TEST_F(StatusWndInTheProgram, UseIsCountedByTheTimeThatReallyPassedNotByTimerMessages) {
    WriteWeek(Day(false, 0, false, 25, 10));
    Login();
    const int nAtLogin = Used();
    Tick(5);
    // The queue stalled (or the process was suspended) for 13 seconds: one timer message, 13 seconds.
    m_clock.Advance(13);
    m_pStatus->SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(Used(), nAtLogin + 18);
    // An hour asleep, reported by the power messages: counts nothing, and the guard leaves the
    // clock alone.
    m_pControl->SendMessage(WM_POWERBROADCAST, PBT_APMSUSPEND);
    m_clock.Sleep(3600);
    m_pControl->SendMessage(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
    m_pControl->SendMessage(WM_TIMECHANGE);
    Tick(2);
    EXPECT_EQ(Used(), nAtLogin + 20);
    EXPECT_TRUE(m_system.CallsStartingWith("set time").empty());
    // A power message someone posts stops nothing.
    m_pControl->SendMessage(WM_POWERBROADCAST, PBT_APMSUSPEND);
    Tick(3);
    EXPECT_EQ(Used(), nAtLogin + 23);
    EXPECT_EQ(StoredUsedSecs(), nAtLogin) << "not saved yet: under a minute counted since the login";
    Tick(36);
    EXPECT_EQ(StoredUsedSecs(), nAtLogin);
    Tick(1);
    EXPECT_EQ(StoredUsedSecs(), nAtLogin + 60) << "saved once a minute of use has passed";
}

TEST_F(StatusWnd, TheMiniWindowStartsAtTheTopCentreAndItsCloseButtonClearsTheCheckbox) {
    WriteWeek(Day(false, 0, false, 25, 10));
    Login();
    CMiniWnd* pMini = m_pStatus->MiniWnd();
    ASSERT_NE(pMini, nullptr);
    EXPECT_TRUE(pMini->IsWindowVisible()) << "shown unless the stored preference says otherwise";
    int x = 0, y = 0;
    pMini->GetPosition(&x, &y);
    EXPECT_EQ(x, (::GetSystemMetrics(SM_CXSCREEN) - 94) / 2);
    EXPECT_EQ(y, 0);
    RECT rc{};
    ::GetWindowRect(pMini->m_hWnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 94);
    EXPECT_EQ(rc.bottom - rc.top, 25);
    EXPECT_FALSE(::GetWindowLongA(pMini->m_hWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    Tick();
    EXPECT_EQ(pMini->GetIconKind(), LOCK_IN_USE);
    EXPECT_EQ(pMini->GetText(), m_pStatus->Context().Texts().strMiniText);
    if (const std::string strFolder = ScreenshotFolder(); !strFolder.empty()) {
        ::GetWindowRect(pMini->m_hWnd, &rc);
        SaveScreenArea(rc, strFolder + "mini.bmp");
    }

    // A click released on the close button.
    const RECT rcClose = pMini->CloseRect();
    pMini->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcClose.left + 3, rcClose.top + 3));
    EXPECT_FALSE(pMini->IsWindowVisible());
    EXPECT_EQ(::IsDlgButtonChecked(m_pStatus->m_hWnd, IDC_STATUS_MINI_CHECK), static_cast<UINT>(BST_UNCHECKED));
    Tick(3);
    EXPECT_FALSE(pMini->IsWindowVisible()) << "stays hidden until asked for";

    // The position is kept in use.sta with the preference.
    pMini->m_nX = 0;
    ::SetWindowPos(pMini->m_hWnd, nullptr, 200, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_pStatus->ShowMiniWindow();
    EXPECT_TRUE(pMini->IsWindowVisible());
    EXPECT_EQ(::IsDlgButtonChecked(m_pStatus->m_hWnd, IDC_STATUS_MINI_CHECK), static_cast<UINT>(BST_CHECKED));
    Tick(60);
    CUsageStore store;
    store.Load();
    ASSERT_NE(store.Find("kid"), nullptr);
    EXPECT_EQ(store.Find("kid")->nMiniX, 200);
    EXPECT_EQ(store.Find("kid")->nMiniY, 300);
    EXPECT_EQ(store.Find("kid")->bShowMini, 1);
}

TEST(MiniWnd, AtLeastFifteenPixelsStayInTheWorkAreaOfItsMonitor) {
    // The primary monitor (1024 x 768), and a second one of 1280 x 1024 to its left, whose
    // coordinates are negative.
    const RECT rcPrimary{0, 0, 1024, 768};
    const RECT rcLeft{-1280, 0, 0, 1024};
    const struct {
        const RECT* pArea;
        int x, y;
        int nWantX, nWantY;
        const char* pszCase;
    } cases[] = {
        {&rcPrimary, -99999, -99999, (1024 - 94) / 2, 0, "never placed: the top centre"},
        {&rcPrimary, 1024 - 5, 100, 1024 - 15, 100, "past the right edge"},
        {&rcPrimary, 1024 + 10, 768 + 10, (1024 - 94) / 2, 0, "off the area: the top centre"},
        {&rcPrimary, -200, -100, 15 - 94, 15 - 25, "past the top left corner"},
        {&rcPrimary, 300, 768 - 3, 300, 768 - 15, "past the bottom"},
        {&rcPrimary, 300, 200, 300, 200, "inside"},
        {&rcLeft, -1000, 900, -1000, 900, "inside the left monitor, where a single screen would have moved it"},
        {&rcLeft, -1280 - 90, 40, -1280 + 15 - 94, 40, "past the left monitor's left edge"},
        {&rcLeft, -5, 1024 - 3, -15, 1024 - 15, "the left monitor's bottom right corner"},
    };
    for (const auto& c : cases) {
        const POINT pt = CMiniWnd::OnScreenPosition(c.x, c.y, 94, 25, *c.pArea);
        EXPECT_EQ(pt.x, c.nWantX) << c.pszCase;
        EXPECT_EQ(pt.y, c.nWantY) << c.pszCase;
    }
}

TEST(NoticeWnd, ClickThroughLayeredWithoutTaskbarButtonAndSilentWithoutSound) {
    CFakeSystemActions system;
    CNoticeWnd notice;
    ASSERT_TRUE(notice.Create());
    const LONG nExStyle = ::GetWindowLongA(notice.m_hWnd, GWL_EXSTYLE);
    EXPECT_TRUE(nExStyle & WS_EX_LAYERED);
    EXPECT_TRUE(nExStyle & WS_EX_TRANSPARENT);
    EXPECT_FALSE(nExStyle & WS_EX_APPWINDOW);
    EXPECT_EQ(notice.GetAlpha(), 0);
    EXPECT_EQ(notice.GetLeadSeconds(), 30);
    notice.SetSound(0);
    for (UINT_PTR nId : {CNoticeWnd::kSlowTimer, CNoticeWnd::kFastTimer}) notice.SendMessage(WM_TIMER, nId, 0);
    EXPECT_TRUE(system.CallsStartingWith("play ").empty());
    notice.DestroyWindow();
}

namespace {

// The settings dialog with a script run once it is open.
class CScriptedSettingsDlg : public CNoticeSettingsDlg {
public:
    std::function<void(CScriptedSettingsDlg&)> m_script;
    int m_nSelectedAtStart = -2;
    std::string m_strFirstDay;

protected:
    BOOL OnInitDialog() override {
        CNoticeSettingsDlg::OnInitDialog();
        m_nSelectedAtStart =
            static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_NOTICE_SECONDS, CB_GETCURSEL, 0, 0));
        char szText[512] = {};
        LVITEMA item{};
        item.iSubItem = 1;
        item.pszText = szText;
        item.cchTextMax = sizeof szText;
        ::SendDlgItemMessageA(m_hWnd, IDC_NOTICE_WEEK, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
        m_strFirstDay = szText;
        PostMessage(WM_USER + 60);
        return TRUE;
    }
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {
        if (nMsg == WM_USER + 60) {
            if (const std::string strFolder = ScreenshotFolder(); !strFolder.empty()) {
                ShowWindow(SW_SHOW);
                ::UpdateWindow(m_hWnd);
                SaveWindowShot(m_hWnd, strFolder + "notice-settings.bmp");
            }
            m_script(*this);
            return true;
        }
        return CNoticeSettingsDlg::OnMessage(nMsg, wParam, lParam, lResult);
    }
};

}  // namespace

TEST_F(StatusWnd, NoticeSettingsStoreAtOnceOnOkAndNothingOnTheTitleClose) {
    WriteWeek(Day(false, 0, false, 25, 10));
    m_store.m_childAccounts.SetNoticeSeconds("kid", 30);
    Login();
    auto Run = [&](std::function<void(CScriptedSettingsDlg&)> script) {
        CScriptedSettingsDlg dlg;
        dlg.m_pStore = &m_store;
        dlg.m_pStatusWnd = m_pStatus;
        dlg.m_strUser = "kid";
        dlg.m_script = std::move(script);
        dlg.DoModal();
        return std::make_pair(dlg.m_nSelectedAtStart, dlg.m_strFirstDay);
    };
    auto Stored = [] {
        CChildAccountList accounts;
        accounts.Load();
        return std::make_pair(accounts.GetNoticeSeconds("kid"), accounts.GetAlertSound("kid"));
    };

    // "10" and no sound, then OK: child.nam and the notice change at once.
    auto [nSelected, strDay] = Run([](CScriptedSettingsDlg& dlg) {
        ::SendDlgItemMessageA(dlg.m_hWnd, IDC_NOTICE_SECONDS, CB_SETCURSEL, 0, 0);
        ::CheckDlgButton(dlg.m_hWnd, IDC_NOTICE_SOUND, BST_UNCHECKED);
        dlg.PostMessage(WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(nSelected, 2) << "30 is the third item";
    EXPECT_EQ(strDay, m_pStatus->Context().TodayPrj()->GetSummary()) << "the same summaries as the status window";
    EXPECT_EQ(Stored(), std::make_pair(10, 0));
    EXPECT_EQ(m_pStatus->NoticeWnd()->GetLeadSeconds(), 10);
    EXPECT_EQ(m_pStatus->NoticeWnd()->GetSound(), 0);

    // The title close stores nothing.
    Run([](CScriptedSettingsDlg& dlg) {
        ::SendDlgItemMessageA(dlg.m_hWnd, IDC_NOTICE_SECONDS, CB_SETCURSEL, 3, 0);
        dlg.PostMessage(WM_COMMAND, IDC_TITLE_CLOSE, 0);
    });
    EXPECT_EQ(Stored(), std::make_pair(10, 0));

    // A stored value no item matches selects none and is kept on OK.
    m_store.m_childAccounts.SetNoticeSeconds("kid", 25);
    std::tie(nSelected, strDay) = Run([](CScriptedSettingsDlg& dlg) { dlg.PostMessage(WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(nSelected, CB_ERR);
    EXPECT_EQ(Stored().first, 25);
}

namespace {

CStatusWnd* g_pOpenStatus = nullptr;
bool g_bSurvivedSwitch = false;
bool g_bFlagWhileOpen = false;

BOOL CALLBACK CloseSettingsDialog(HWND hWnd, LPARAM) {
    if (::GetDlgItem(hWnd, IDC_NOTICE_WEEK)) ::PostMessageA(hWnd, WM_COMMAND, IDC_TITLE_CLOSE, 0);
    return TRUE;
}

// Runs inside the settings dialog's modal loop: the hot key's switch user, then the title close.
void CALLBACK WhileSettingsOpen(HWND, UINT, UINT_PTR nId, DWORD) {
    ::KillTimer(nullptr, nId);
    g_bFlagWhileOpen = g_pOpenStatus->IsInSettings();
    g_pOpenStatus->SwitchUser();
    g_bSurvivedSwitch = ::IsWindow(g_pOpenStatus->m_hWnd) != FALSE;
    ::EnumThreadWindows(::GetCurrentThreadId(), CloseSettingsDialog, 0);
}

}  // namespace

TEST_F(StatusWnd, SwitchUserWaitsWhileTheSettingsDialogIsOpen) {
    WriteWeek(Day(false, 0, false, 25, 10));
    Login();
    g_pOpenStatus = m_pStatus;
    ::SetTimer(nullptr, 0, 50, WhileSettingsOpen);
    Click(IDC_STATUS_SETTING);
    EXPECT_TRUE(g_bFlagWhileOpen);
    EXPECT_TRUE(g_bSurvivedSwitch);
    EXPECT_FALSE(m_pStatus->IsInSettings());
    EXPECT_TRUE(m_host.TrayMenuEnabled()) << "the tray menu is back after the dialog";
}

namespace {

BOOL CALLBACK NoteSettingsDialog(HWND hWnd, LPARAM lParam) {
    if (::GetDlgItem(hWnd, IDC_NOTICE_WEEK)) *reinterpret_cast<bool*>(lParam) = true;
    return TRUE;
}

void CALLBACK DestroyWhileSettingsOpen(HWND, UINT, UINT_PTR nId, DWORD) {
    ::KillTimer(nullptr, nId);
    g_bFlagWhileOpen = g_pOpenStatus->IsInSettings();
    ::DestroyWindow(g_pOpenStatus->m_hWnd);
}

}  // namespace

TEST_F(StatusWnd, DestroyedUnderItsSettingsDialogTheWindowEndsTheLoginAndTheDialogWithIt) {
    WriteWeek(Day(false, 0, false, 25, 10));
    Login();
    g_pOpenStatus = m_pStatus;
    g_bFlagWhileOpen = false;
    ::SetTimer(nullptr, 0, 50, DestroyWhileSettingsOpen);
    Click(IDC_STATUS_SETTING);  // returns once the dialog is gone; the object is deleted then
    m_pStatus = nullptr;
    EXPECT_TRUE(g_bFlagWhileOpen);
    bool bDialogLeft = false;
    ::EnumThreadWindows(::GetCurrentThreadId(), NoteSettingsDialog, reinterpret_cast<LPARAM>(&bDialogLeft));
    EXPECT_FALSE(bDialogLeft) << "the dialog went with its owner";
    EXPECT_NE(m_lockScreen.m_pReleased, nullptr);
    EXPECT_EQ(m_lockScreen.m_nBackFromStatus, 1);
    EXPECT_TRUE(m_host.TrayMenuEnabled());
}

// A child turns the clock while logged in and switches user at once. The controller's guard sets
// the true time back as soon as the system announces the change (the test's system actions move
// the fake clock as Windows would), so the next login starts from the true time and the day's
// use goes on as if nothing happened. At the lock screen, where no child can reach the clock, a
// change (Windows' own correction) is taken as it is.
namespace {
struct CLOCK_JUMP {
    const char* pszName;
    TIMESECS nJump;
};
}  // namespace

TEST_F(StatusWndInTheProgram, TurningTheClockAndSwitchingUserAtOnceIsUndoneButTheLockScreenTakesACorrection) {
    m_system.m_onSetTime = [this](const CLocalTime& t) {
        m_clock.SetLocal(t.nYear, t.nMonth, t.nDay, t.nHour, t.nMinute, t.nSecond);
        return true;
    };
    CEventRecorder events;
    m_clock.Turn(-600);
    m_pControl->SendMessage(WM_TIMECHANGE);
    EXPECT_TRUE(m_system.CallsStartingWith("set time").empty());
    EXPECT_EQ(events.Count(EVENT_KIND::CLOCK_CHANGED), 1u);

    for (const CLOCK_JUMP& jump : {CLOCK_JUMP{"two hours ahead", 7200}, CLOCK_JUMP{"two hours back", -7200},
                                   CLOCK_JUMP{"a day ahead", 86400}}) {
        SCOPED_TRACE(jump.pszName);
        m_clock.Set(At(14, 0, 0));
        m_pControl->SendMessage(WM_TIMER, kGuardTimer);
        m_system.m_calls.clear();
        WriteWeek(Day(false, 0, false, 25, 10));
        Login();
        const int nAtLogin = Used();  // the day's use so far
        Tick(5);
        m_clock.Turn(jump.nJump);
        m_pControl->SendMessage(WM_TIMECHANGE);
        m_pStatus->SwitchUser();
        m_pStatus = nullptr;
        Pump();
        ASSERT_EQ(m_system.CallsStartingWith("set time"), std::vector<std::string>{"set time 2026-05-12 14:00:05"});
        Login();
        Tick(10);
        EXPECT_EQ(State(), 2) << "still allowed, the same day";
        EXPECT_EQ(Used(), nAtLogin + 15);
        m_pStatus->DestroyWindow();
        m_pStatus = nullptr;
        Pump();
    }
}

TEST_F(StatusWndInTheProgram, AZoneMovedToJustBeforeMidnightIsSetBackAndTheUsedUpDayStaysUsedUp) {
    m_system.m_onSetZone = [this](const std::string& strZone) {
        m_clock.SetZone(std::stoi(strZone.substr(3)));
        return true;
    };
    WriteWeek(Day(true, 1, false, 25, 10));
    Login();
    Tick(61);
    ASSERT_EQ(State(), STATE_TOTAL_USED_UP);
    // A zone in which it is 35 seconds before midnight.
    m_clock.SetZone(At(23, 59, 25) - m_clock.Now());
    m_pControl->SendMessage(WM_TIMER, kGuardTimer);
    EXPECT_EQ(m_system.CallsStartingWith("set zone"), std::vector<std::string>{"set zone UTC0"});
    EXPECT_EQ(CClock::Zone(), "UTC0");
    Tick(60);
    Click(IDC_STATUS_START);
    EXPECT_EQ(State(), STATE_TOTAL_USED_UP) << "no new day";

    // Refused: the zone stays moved, but the day begun ends at the midnight it was given.
    m_system.m_onSetZone = nullptr;
    m_clock.SetZone(At(23, 59, 25) - m_clock.Now());
    m_pControl->SendMessage(WM_TIMER, kGuardTimer);
    Tick(60);
    Click(IDC_STATUS_START);
    EXPECT_EQ(State(), STATE_TOTAL_USED_UP) << "no new day before the real midnight";
}

// "Ask for more time" in the status window: a wrong Administrator password is refused as at the
// lock screen and grants nothing; the right one lets the child locked at the total in at once and
// the line shows what is left. (Its use to the end is the engine's tests' and the e2e scenario's.)
TEST_F(StatusWnd, TheGrantDialogRefusesAWrongPasswordAndTheRightOneLetsTheLockedChildIn) {
    ADMIN_ACCOUNT& admin = m_store.m_adminAccount.m_admin;
    CopyToField("secret", admin.szPassword, sizeof admin.szPassword);
    admin.bHasPassword = 1;
    WriteWeek(Day(true, 1, false, 10, 5));
    Login();
    Tick(60);
    ASSERT_EQ(State(), STATE_TOTAL_USED_UP);
    EXPECT_TRUE(Enabled(m_pStatus, IDC_STATUS_ASK_MORE));
    EXPECT_EQ(m_pStatus->GetDlgItemText(IDC_STATUS_EXTRA_LINE), "");

    CMessageBoxCloser closer;
    HWND hGrant = nullptr;
    bool bRightTyped = false;
    std::string strAfterWrong = "(not seen)";
    CDialogAnswer wrong(IDC_EXTRA_PASSWORD, [&hGrant](HWND hDlg) {
        hGrant = hDlg;
        if (const std::string strFolder = ScreenshotFolder(); !strFolder.empty()) {
            ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            RECT rc;
            ::GetWindowRect(hDlg, &rc);
            SaveScreenArea(rc, strFolder + "extra-time.bmp");
        }
        ::SetDlgItemTextA(hDlg, IDC_EXTRA_PASSWORD, "Secret");
        CDialogAnswer::Click(hDlg, IDOK);
    });
    CPacedCall right(50, [&] {
        // Only once the refusal is over: its message box disables the dialog while it is up.
        if (bRightTyped || !hGrant || closer.m_texts.empty() || !::IsWindow(hGrant) || !::IsWindowEnabled(hGrant))
            return;
        bRightTyped = true;
        strAfterWrong = CDialogAnswer::Text(::GetDlgItem(hGrant, IDC_EXTRA_PASSWORD));
        // The wrong password made the next try wait, as at the lock screen; the child sits it out.
        EXPECT_EQ(m_host.LoginThrottle().WrongInARow(), 1);
        EXPECT_FALSE(m_host.TrayMenuEnabled()) << "the closed refusal box leaves the dialog's hold on the tray menu";
        Tick(CLoginThrottle::WaitAfter(1));
        ::CheckRadioButton(hGrant, IDC_EXTRA_15, IDC_EXTRA_REST_OF_DAY, IDC_EXTRA_15);
        ::SetDlgItemTextA(hGrant, IDC_EXTRA_PASSWORD, "secret");
        CDialogAnswer::Click(hGrant, IDOK);
    });
    Click(IDC_STATUS_ASK_MORE);  // returns when the dialog has ended
    EXPECT_TRUE(m_host.TrayMenuEnabled());
    ASSERT_EQ(closer.m_texts.size(), 1u);
    EXPECT_EQ(closer.m_texts[0], "The password you entered is incorrect.");
    EXPECT_EQ(closer.m_captions[0], "Wrong password");
    EXPECT_EQ(strAfterWrong, "") << "the wrong password is emptied";
    EXPECT_TRUE(bRightTyped);
    std::vector<std::string> kinds;
    for (const EVENT_ENTRY& entry : CEventLog::ReadAll()) kinds.push_back(entry.strKind + ": " + entry.strDetail);
    EXPECT_EQ(kinds, (std::vector<std::string>{"wrong password: in the extra-time dialog (1 in a row)",
                                               "extra time: Extra time granted: +15 min (15 minutes)"}));

    EXPECT_EQ(Kind(), LOCK_IN_USE);
    EXPECT_EQ(m_pStatus->GetDlgItemText(IDC_STATUS_EXTRA_LINE), "Extra time today: 00:15:00 left");
    CExtraTimeStore stored;
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(*stored.Find("kid"), (EXTRA_RECORD{"kid", 20260512, 900, 900, 1}));
    Tick(60);
    EXPECT_EQ(State(), STATE_ALLOWED);
    EXPECT_EQ(m_pStatus->GetDlgItemText(IDC_STATUS_EXTRA_LINE), "Extra time today: 00:14:00 left");
}

// The program in front and its time in the status window, and its notice before the lock's; at
// the day's total the lock puts the game away and lets homework through: above the curtain and
// left in front. It goes with the child's login.
TEST_F(StatusWndInTheProgram, TheProgramInFrontShowsItsTimeAndItsNoticeAndOnlyHomeworkStaysAboveTheLock) {
    WriteWeek(Day(true, 1, false, 25, 10));
    PROGRAM_RULE game;
    game.strProgram = "game.exe";
    game.nMinutes.fill(2);
    PROGRAM_RULE homework;
    homework.strProgram = "homework.exe";
    homework.strPath = "C:\\Games\\homework.exe";  // picked from the running programs
    homework.nFlags = PROGRAM_RULE::FLAG_OUTSIDE;
    CProgramRuleStore rules;
    rules.ReplaceUser("kid", {game, homework});
    ASSERT_TRUE(rules.Save());
    CProgramUseStore use;
    use.ForDate("kid", "game.exe", 20260512).nUsedSecs = 40;
    ASSERT_TRUE(use.Save());
    CFakeProcesses processes;
    COtherProgram gameWindow({At({100, 100, 400, 300})});
    COtherProgram homeworkWindow({At({500, 120, 900, 420})});
    const std::uint32_t nGame = processes.Start("game.exe");
    const std::uint32_t nHomework = processes.Start("homework.exe");
    processes.OwnWindow(reinterpret_cast<std::uintptr_t>(gameWindow.m_windows[0]), nGame);
    processes.OwnWindow(reinterpret_cast<std::uintptr_t>(homeworkWindow.m_windows[0]), nHomework);
    Login();
    CNoticeWnd* pNotice = m_pStatus->NoticeWnd();
    auto Line = [this] { return m_pStatus->GetDlgItemText(IDC_STATUS_PROGRAM_LINE); };

    processes.Front(nGame);
    Tick(5);
    EXPECT_EQ(Line(), "game.exe: 00:01:15 left today");
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(m_pStatus->m_hWnd, IDC_STATUS_OPEN_HOMEWORK))) << "nothing to open in use";
    processes.Front(nHomework);
    Tick(10);
    EXPECT_EQ(Line(), "homework.exe: not counted in today's total");
    EXPECT_EQ(m_pStatus->Context().UsedSecs(), 5);
    Shot("status-program-line.bmp");
    processes.Front(nGame);
    Tick(20);
    EXPECT_TRUE(pNotice->IsShown());
    EXPECT_EQ(pNotice->GetText(), "game.exe will be closed after 55 seconds") << "before the lock's, which is further off";
    EXPECT_TRUE(pNotice->IsBeepSlow());
    Tick(15);
    EXPECT_EQ(pNotice->GetText(), "Screen will be locked after 20 seconds") << "the lock comes first now";

    Tick(20);
    ASSERT_EQ(State(), STATE_TOTAL_USED_UP);
    EXPECT_TRUE(processes.IsRunning(nGame)) << "put away by the lock, not ended: it has minutes left";
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(gameWindow.m_windows[0]); })) << "the game is put away";
    const HWND hHomework = homeworkWindow.m_windows[0];
    EXPECT_TRUE(::IsWindowVisible(hHomework)) << "homework is not";
    EXPECT_TRUE(m_pControl->IsLetThrough(hHomework));
    EXPECT_TRUE(::GetWindowLongA(hHomework, GWL_EXSTYLE) & WS_EX_TOPMOST) << "above the curtain";
    processes.Front(nHomework);
    // The child clicks homework: the front moves once the display has said so.
    ASSERT_TRUE(WaitUntil([&] { return ::SetForegroundWindow(hHomework), ::GetForegroundWindow() == hHomework; }))
        << "waited for homework to come in front";
    Tick(6);
    EXPECT_EQ(::GetForegroundWindow(), hHomework) << "the status window leaves homework in front";
    EXPECT_EQ(Line(), "homework.exe: not counted in today's total");
    if (const std::string strFolder = ScreenshotFolder(); !strFolder.empty()) SaveScreen(strFolder + "homework-above-the-lock.bmp");
    // Homework closed behind the lock is opened again from the status window.
    HWND hOpen = ::GetDlgItem(m_pStatus->m_hWnd, IDC_STATUS_OPEN_HOMEWORK);
    EXPECT_TRUE(::IsWindowVisible(hOpen));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(m_pStatus->m_hWnd, IDC_STATUS_START)) && Enabled(m_pStatus, IDC_STATUS_START));
    Shot("status-open-homework.bmp");
    Click(IDC_STATUS_OPEN_HOMEWORK);
    EXPECT_EQ(m_system.CallsStartingWith("start C:"),
              std::vector<std::string>{"start C:\\Games\\homework.exe | \"C:\\Games\\homework.exe\""});

    Click(IDC_STATUS_SWITCH);
    m_pStatus = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(hHomework); })) << "put away once the child is gone";
    EXPECT_FALSE(::GetWindowLongA(hHomework, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(m_pControl->IsLetThrough(hHomework));
}
