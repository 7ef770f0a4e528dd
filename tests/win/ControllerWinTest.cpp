// The controller in process: the curtain and its alpha modes, the desktop lock over windows of
// "another program" (a thread of its own, since the lock leaves the test thread's windows alone),
// the full-screen window in front, the display mode set back through the seam, the exclusions,
// the two-monitor layout, the watchdog and the messenger; what other programs send it, the input
// desktop and the end of the session.
#include <gtest/gtest.h>

#include <cstdio>

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "companion/CompanionNames.h"
#include "companion/win32/MyMessenger.h"
#include "core/rules/UsageState.h"
#include "core/store/AdminAccount.h"
#include "core/store/SessionEndMark.h"
#include "core/store/UsageStore.h"
#include "DialogAnswer.h"
#include "OtherProgram.h"
#include "platform/win32/ModulePath.h"
#include "resources/resource.h"
#include "support/EventRecorder.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeSystemActions.h"
#include "support/KeyPresses.h"
#include "support/TempFolder.h"
#include "support/WaitUntil.h"
#include "win/app/ControlDlg.h"
#include "win/app/HiddenWindowDisplay.h"
#include "win/controls/WinUtilities.h"
#include "win/framework/WinApp.h"
#include "win/windows/LockDlg.h"

namespace {

void Pump(DWORD nMilliseconds) { WaitUntil([] { return false; }, nMilliseconds); }

RECT WindowRect(HWND hWnd) {
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}
bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::string Text(const RECT& rc) {
    char szText[64];
    std::snprintf(szText, sizeof szText, "(%ld,%ld,%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
    return szText;
}

// Class, title and owning process of a window, for messages.
std::string Describe(HWND hWnd) {
    char szClass[64] = {}, szTitle[64] = {};
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    ::GetWindowTextA(hWnd, szTitle, sizeof szTitle);
    DWORD nProcess = 0;
    ::GetWindowThreadProcessId(hWnd, &nProcess);
    return std::string(szClass) + " \"" + szTitle + "\"" + (nProcess == ::GetCurrentProcessId() ? " (ours)" : " (another process)");
}

int CurtainAlpha(HWND hWnd) {
    BYTE nAlpha = 0;
    DWORD nFlags = 0;
    COLORREF crKey = 0;
    if (!::GetLayeredWindowAttributes(hWnd, &crKey, &nAlpha, &nFlags)) return -1;
    return nAlpha;
}

// A primary screen of 1366 x 768 and a second monitor of 1280 x 1024 to its left.
SCREEN_LAYOUT TwoMonitors() { return {1366, 768, {-1280, 0, 1366, 1024}, 2, {{0, 0, 1366, 768}, {-1280, 0, 0, 1024}}}; }

// The messenger's stored state, put back after the test.
class CSavedMessengerState {
public:
    CSavedMessengerState() : m_nState(m_messenger.GetMainProgState()) {}
    ~CSavedMessengerState() { m_messenger.SetMainProgState(m_nState); }
    CMyMessenger m_messenger;

private:
    int m_nState;
};

class Controller : public ::testing::Test {
protected:
    void Start(const SCREEN_LAYOUT& layout = CurrentScreenLayout(), CMyMessenger* pMessenger = nullptr) {
        m_pDlg = std::make_unique<CControlDlg>();
        m_pDlg->DesktopLock().UseScreenLayout(layout);
        m_pDlg->UseMessenger(pMessenger);
        ASSERT_TRUE(m_pDlg->Create());
        {
            // A first run shows the Administrator password dialog; a password twice answers it.
            CDialogAnswer firstRun(IDC_FIRST_PASSWORD, [](HWND hDlg) {
                ::SetDlgItemTextA(hDlg, IDC_FIRST_PASSWORD, "pw");
                ::SetDlgItemTextA(hDlg, IDC_FIRST_CONFIRM, "pw");
                CDialogAnswer::Click(hDlg, IDC_FIRST_OK);
            });
            WaitUntil([this] { return m_pDlg->GetLockDlg() != nullptr; }, 5000);  // the posted first message
        }
        // The lock screen has tests of its own; here it would keep taking the foreground.
        if (m_pDlg->GetLockDlg()) m_pDlg->GetLockDlg()->DestroyWindow();
        m_pDlg->ForgetLockDlg();
    }
    // Started and unlocked, so that the test's windows meet a lock of their own.
    void StartUnlocked(const SCREEN_LAYOUT& layout = CurrentScreenLayout()) {
        Start(layout);
        m_pDlg->UnlockDesktop();
        m_system.m_calls.clear();
    }
    void TearDown() override {
        if (m_pDlg && m_pDlg->m_hWnd) m_pDlg->DestroyWindow();
        m_pDlg.reset();
    }
    HWND Curtain() const { return m_pDlg->m_hWnd; }
    // Records of the given windows. (Wine draws its tray as a window of its own, which the lock
    // hides like any other program's window, so totals would count it too.)
    int RecordsOf(const std::vector<HWND>& windows) const {
        int nCount = 0;
        for (int n = 0; n < m_pDlg->DesktopLock().HiddenWindows().GetCount(); ++n)
            for (HWND hWnd : windows) nCount += WindowOf(*m_pDlg->DesktopLock().HiddenWindows().GetAt(n)) == hWnd;
        return nCount;
    }
    // winnodes.tmp holds exactly the list.
    bool WinnodesHoldsTheList() const { return WinnodesSize() == 184LL * m_pDlg->DesktopLock().HiddenWindows().GetCount(); }
    long long WinnodesSize() const { return m_folder.Exists("winnodes.tmp") ? m_folder.Read("winnodes.tmp").size() : -1; }

    CTempFolder m_folder;
    CFakeSystemActions m_system;
    std::unique_ptr<CControlDlg> m_pDlg;
};

int g_nLayeredCalls = 0;
BOOL WINAPI CountLayeredCalls(HWND, COLORREF, BYTE, DWORD) { return ++g_nLayeredCalls, TRUE; }

}  // namespace

TEST_F(Controller, StartsAsALockedTopmostCurtainWithItsTrayIconMenuAndFiles) {
    Start();
    EXPECT_EQ(m_pDlg->IsLocked(), 1);
    EXPECT_EQ(m_folder.Read("parent.nam").size(), 200u) << "a first run writes the Administrator record";
    EXPECT_TRUE(WinnodesHoldsTheList()) << "saved after the lock";
    EXPECT_TRUE(::IsWindowVisible(Curtain()));
    EXPECT_TRUE(::GetWindowLongA(Curtain(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(::GetWindowLongA(Curtain(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(CurtainAlpha(Curtain()), 128) << "the default lock background is half transparent";
    EXPECT_TRUE(SameRect(WindowRect(Curtain()), CurtainRect(CurrentScreenLayout()))) << Text(WindowRect(Curtain()));
    EXPECT_EQ(m_pDlg->GetWindowText(), "Quenby");
    EXPECT_STREQ(m_pDlg->TrayIcon().szTip, "Quenby");
    EXPECT_EQ(m_pDlg->TrayIcon().cbSize, sizeof(void*) == 8 ? 504u : 488u);  // the version-2 record
    EXPECT_EQ(m_pDlg->IsObscured(), 0) << "the curtain lies over every probe point; at the first one: "
                                       << Describe(::WindowFromPoint(ProbePoints(CurrentScreenLayout()).front()));

    HMENU hSysMenu = ::GetSystemMenu(Curtain(), FALSE);
    char szItem[64] = {};
    ::GetMenuStringA(hSysMenu, IDM_ABOUTBOX, szItem, sizeof szItem, MF_BYCOMMAND);
    EXPECT_STREQ(szItem, "&About Quenby...");
    for (UINT nGone : {SC_SIZE, SC_MOVE, SC_MINIMIZE, SC_MAXIMIZE})
        EXPECT_EQ(::GetMenuState(hSysMenu, nGone, MF_BYCOMMAND), static_cast<UINT>(-1)) << nGone;

    // No tray action while locked; a foreign icon id is ignored too.
    EXPECT_EQ(m_pDlg->SendMessage(WM_TRAY_NOTIFY, kTrayIconId, WM_RBUTTONUP), 1);
    m_pDlg->UnlockDesktop();
    EXPECT_EQ(m_pDlg->SendMessage(WM_TRAY_NOTIFY, kTrayIconId, WM_RBUTTONUP), 0);
    EXPECT_EQ(m_pDlg->SendMessage(WM_TRAY_NOTIFY, kTrayIconId + 1, WM_RBUTTONUP), 1);
}

TEST_F(Controller, ReturnAndEscapeNeverEndTheProgram) {
    Start();
    for (WPARAM nKey : {VK_RETURN, VK_ESCAPE}) {
        MSG msg{Curtain(), WM_KEYDOWN, nKey, 0, 0, {0, 0}};
        EXPECT_TRUE(CWinApp::PreTranslate(&msg)) << nKey;
    }
    m_pDlg->PostMessage(WM_KEYDOWN, VK_ESCAPE);
    m_pDlg->PostMessage(WM_KEYDOWN, VK_RETURN);
    Pump(100);
    EXPECT_TRUE(::IsWindowVisible(Curtain()));
}

TEST_F(Controller, AlphaModesAndNoSystemCallForTheModeAlreadyApplied) {
    Start();
    for (auto [nMode, nAlpha] : {std::pair{1, 255}, {3, 0}, {2, 128}}) {
        m_pDlg->SetAlphaMode(nMode);
        EXPECT_EQ(m_pDlg->AlphaMode(), nMode);
        EXPECT_EQ(CurtainAlpha(Curtain()), nAlpha) << "mode " << nMode;
    }
    // The function is looked up once; from then on each change is one call.
    m_pDlg->UseSetLayered(CountLayeredCalls);
    g_nLayeredCalls = 0;
    m_pDlg->SetAlphaMode(2);
    EXPECT_EQ(g_nLayeredCalls, 0) << "the mode already applied";
    m_pDlg->SetAlphaMode(0);
    m_pDlg->SetAlphaMode(7);
    EXPECT_EQ(g_nLayeredCalls, 0) << "unknown modes are ignored";
    EXPECT_EQ(m_pDlg->AlphaMode(), 2);
    m_pDlg->SetAlphaMode(1);
    EXPECT_EQ(g_nLayeredCalls, 1);

    // The lock background chosen by the options takes effect at the next lock.
    m_pDlg->UseSetLayered(nullptr);
    m_pDlg->ForgetAlphaMode();
    m_pDlg->UnlockDesktop();
    m_pDlg->SetLockBackground(1);
    m_pDlg->LockDesktop();
    EXPECT_EQ(CurtainAlpha(Curtain()), 255);
}

TEST_F(Controller, SweptWindowsAreHiddenWhileLockedAndComeBackOnce) {
    StartUnlocked();
    EXPECT_EQ(WinnodesSize(), 0) << "empty after every unlock";
    COtherProgram other({At({100, 100, 300, 200}), At({400, 100, 600, 200})});
    ASSERT_EQ(other.m_windows.size(), 2u);

    m_pDlg->LockDesktop();
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(other.m_windows[0]) && !::IsWindowVisible(other.m_windows[1]); }));
    EXPECT_EQ(RecordsOf(other.m_windows), 2);
    EXPECT_EQ(m_pDlg->DesktopLock().HiddenWindows().CountFromFullScreen(), 0);
    EXPECT_TRUE(WinnodesHoldsTheList());
    EXPECT_EQ(m_pDlg->IsLocked(), 1);
    EXPECT_TRUE(m_system.CallsStartingWith("press").empty()) << "no full-screen window, no Alt+Tab";

    // Again while locked: nothing is recorded twice. (Only our windows are counted: a window of
    // Wine's own that appears meanwhile, such as its tray, is rightly swept by the second lock.)
    m_pDlg->LockDesktop();
    EXPECT_EQ(RecordsOf(other.m_windows), 2);

    m_pDlg->UnlockDesktop();
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(other.m_windows[0]) && ::IsWindowVisible(other.m_windows[1]); }));
    EXPECT_EQ(WinnodesSize(), 0);
    EXPECT_EQ(m_pDlg->IsLocked(), 0);
    EXPECT_EQ(CurtainAlpha(Curtain()), 0) << "invisible while unlocked";
    EXPECT_FALSE(::GetWindowLongA(Curtain(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // A second unlock does nothing: the window hidden meanwhile stays hidden, the curtain unchanged.
    ::ShowWindowAsync(other.m_windows[0], SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(other.m_windows[0]); }));
    m_pDlg->SetAlphaMode(1);
    m_pDlg->UnlockDesktop();
    Pump(100);
    EXPECT_FALSE(::IsWindowVisible(other.m_windows[0]));
    EXPECT_EQ(CurtainAlpha(Curtain()), 255);
}

TEST_F(Controller, ClosingTheControllerGivesEveryWindowBack) {
    StartUnlocked();
    COtherProgram other({At({100, 100, 300, 200})});
    m_pDlg->LockDesktop();
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(other.m_windows[0]); }));
    m_pDlg->DestroyWindow();
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(other.m_windows[0]); }));
    EXPECT_EQ(WinnodesSize(), 0);
}

TEST_F(Controller, AFullScreenWindowInFrontIsMinimisedHiddenOrMovedAndPutBack) {
    struct CASE {
        const char* pszName;
        int nFlags;
        std::int32_t nRestore;
    };
    for (const CASE& c : {CASE{"minimises", 0, kRestoreFromMinimised}, CASE{"refuses to minimise", kRefuseMinimise, kRestoreShow},
                          CASE{"refuses to minimise and to hide", kRefuseMinimise | kRefuseHide, kRestoreMove}}) {
        SCOPED_TRACE(c.pszName);
        StartUnlocked();
        const RECT rcScreen = CoveredArea(CurrentScreenLayout());
        COtherProgram other({At(rcScreen, c.nFlags)}, true);
        HWND hGame = other.m_windows[0];
        ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == hGame; }));
        EXPECT_EQ(m_pDlg->DesktopLock().FindFullScreenWindow(), hGame);

        m_system.m_calls.clear();
        m_pDlg->LockDesktop();
        const std::vector<std::string> altTab = {"press 18", "press 9", "release 9", "release 18"};
        EXPECT_EQ(m_system.m_calls, altTab);
        ASSERT_EQ(m_pDlg->DesktopLock().HiddenWindows().CountFromFullScreen(), 1);
        EXPECT_EQ(RecordsOf({hGame}), 1) << "the sweep skips a window already recorded";
        const HIDDEN_WINDOW* pRecord = m_pDlg->DesktopLock().HiddenWindows().GetFromFullScreen(0);
        EXPECT_EQ(pRecord->nRestore, c.nRestore);
        EXPECT_EQ(pRecord->rcWindow.left, rcScreen.left);
        EXPECT_EQ(pRecord->rcWindow.right, rcScreen.right);
        if (c.nRestore == kRestoreFromMinimised) {
            EXPECT_TRUE(::IsIconic(hGame));
        } else if (c.nRestore == kRestoreShow) {
            EXPECT_FALSE(::IsWindowVisible(hGame));
        } else {
            EXPECT_EQ(WindowRect(hGame).left, -(rcScreen.right - rcScreen.left) - 10) << Text(WindowRect(hGame));
        }
        EXPECT_TRUE(WinnodesHoldsTheList());

        m_pDlg->UnlockDesktop();
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(hGame) && !::IsIconic(hGame); }));
        EXPECT_TRUE(SameRect(WindowRect(hGame), rcScreen)) << Text(WindowRect(hGame));
        EXPECT_TRUE(m_system.CallsStartingWith("display").empty()) << "the display mode did not change";
        TearDown();
    }
}

TEST_F(Controller, AWhileAfterAFullScreenWindowWasPutAwayTheLockLooksAgain) {
    StartUnlocked();
    COtherProgram game({At(CoveredArea(CurrentScreenLayout()))}, true);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == game.m_windows[0]; }));
    m_pDlg->LockDesktop();
    ASSERT_TRUE(::IsIconic(game.m_windows[0]));
    EXPECT_TRUE(m_pDlg->CurtainCoversScreen()) << "the curtain is up at once, not after a pause";

    // A window the program brings up while it lets go of the screen (a "paused" box, say) and a
    // screen that changed meanwhile: the look a while later sweeps the one and covers the other.
    COtherProgram paused({At({100, 100, 300, 200})});
    m_pDlg->DesktopLock().UseScreenLayout(TwoMonitors());
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(paused.m_windows[0]); }, 5000))
        << "the window that came up after the lock was swept";
    EXPECT_EQ(RecordsOf(paused.m_windows), 1);
    EXPECT_TRUE(WinnodesHoldsTheList());
    EXPECT_TRUE(SameRect(WindowRect(Curtain()), CurtainRect(TwoMonitors()))) << Text(WindowRect(Curtain()));
}

TEST_F(Controller, TheWindowsReachTheCurtainOnlyThroughItsVerbs) {
    StartUnlocked();
    // A child's close drops the program to the tray; the mini window or the tray bring it back.
    m_pDlg->DropToTray();
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(Curtain()) != FALSE; }, 5000)) << "minimised by a posted command";
    EXPECT_FALSE(::GetWindowLongA(Curtain(), GWL_EXSTYLE) & WS_EX_APPWINDOW) << "no taskbar button";
    m_pDlg->RestoreCurtain();
    EXPECT_FALSE(::IsIconic(Curtain()));
    EXPECT_TRUE(::GetWindowLongA(Curtain(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(CurtainAlpha(Curtain()), 0) << "unlocked, the curtain stays invisible";
    m_pDlg->MinimiseCurtain();
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(Curtain()) != FALSE; }, 5000));
    m_pDlg->RestoreCurtain();
    // Not minimised, the curtain is left as it is.
    const RECT rcBefore = WindowRect(Curtain());
    m_pDlg->RestoreCurtain();
    EXPECT_TRUE(SameRect(WindowRect(Curtain()), rcBefore)) << Text(WindowRect(Curtain()));

    HMENU hSysMenu = ::GetSystemMenu(Curtain(), FALSE);
    m_pDlg->OfferCurtainClose(false);
    EXPECT_TRUE(::GetMenuState(hSysMenu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) << "a child's";
    m_pDlg->OfferCurtainClose(true);
    EXPECT_FALSE(::GetMenuState(hSysMenu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) << "the Administrator's";

    // Each open box holds the tray menu; a box over a dialog leaves the dialog's hold.
    m_pDlg->HoldTrayMenu();
    m_pDlg->HoldTrayMenu();
    m_pDlg->ReleaseTrayMenu();
    EXPECT_FALSE(m_pDlg->IsTrayMenuEnabled());
    m_pDlg->ReleaseTrayMenu();
    EXPECT_TRUE(m_pDlg->IsTrayMenuEnabled());
    m_pDlg->ReleaseTrayMenu();
    m_pDlg->HoldTrayMenu();
    EXPECT_FALSE(m_pDlg->IsTrayMenuEnabled()) << "a release too many is not kept for later";
}

TEST_F(Controller, TheRecordedDisplayModeIsSetBackBeforeTheFullScreenWindow) {
    struct CASE {
        const char* pszName;
        std::uint32_t cx, cy;
        bool bChange;
    };
    for (const CASE& c : {CASE{"another mode", 800, 600, true}, CASE{"the same mode", 1366, 768, false},
                          CASE{"a mode without a size", 0, 0, false}}) {
        SCOPED_TRACE(c.pszName);
        StartUnlocked(SingleScreenLayout(1366, 768));
        COtherProgram other({At({0, 0, 400, 300})});
        HWND hGame = other.m_windows[0];
        ::SendMessageA(hGame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(::IsIconic(hGame));
        HIDDEN_WINDOW record = MakeHiddenWindow(hGame, kFromFullScreen, RECT{0, 0, 400, 300}, kRestoreFromMinimised);
        DEVMODEA dm{};
        dm.dmPelsWidth = c.cx;
        dm.dmPelsHeight = c.cy;
        SetDisplay(record, dm);
        m_pDlg->DesktopLock().HiddenWindows().Add(record);
        m_pDlg->DesktopLock().MarkLocked();
        bool bIconicAtChange = false;
        m_system.m_onDisplayChange = [&] { bIconicAtChange = ::IsIconic(hGame); };

        m_pDlg->UnlockDesktop();
        const std::vector<std::string> expected =
            c.bChange ? std::vector<std::string>{"display 800x600"} : std::vector<std::string>{};
        EXPECT_EQ(m_system.CallsStartingWith("display"), expected);
        if (c.bChange) {
            EXPECT_TRUE(bIconicAtChange) << "the mode comes before the window";
        }
        EXPECT_FALSE(::IsIconic(hGame));
        m_system.m_onDisplayChange = nullptr;
        TearDown();
    }
}

TEST_F(Controller, TheDesktopTheTaskbarAndTheProgramsOwnWindowsAreNeverTouched) {
    StartUnlocked();
    HWND hOwn = ::CreateWindowExA(0, "STATIC", "own", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    WINDOW_WISH trayWnd = At({0, 740, 1366, 768});
    trayWnd.pszClass = "Shell_TrayWnd";
    WINDOW_WISH manager = At({0, 0, 200, 200});
    manager.pszClass = "QuenbyTestProgman";
    manager.pszTitle = "Program Manager";
    WINDOW_WISH worker = At(CoveredArea(CurrentScreenLayout()));
    worker.pszClass = "WorkerW";
    WINDOW_WISH hidden = At({0, 0, 100, 100});
    hidden.bVisible = false;
    // The full-screen "WorkerW" is in front, yet is no full-screen program.
    COtherProgram other({worker, trayWnd, manager, hidden}, true);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == other.m_windows[0]; }));
    EXPECT_EQ(m_pDlg->DesktopLock().FindFullScreenWindow(), nullptr);
    EXPECT_TRUE(CDesktopLock::IsDesktopWindow(::GetDesktopWindow())) << "the system's desktop window, which covers the screen";

    m_pDlg->LockDesktop();
    Pump(100);
    std::vector<HWND> untouchable = other.m_windows;
    untouchable.push_back(hOwn);
    EXPECT_EQ(RecordsOf(untouchable), 0);
    for (HWND hWnd : {other.m_windows[0], other.m_windows[1], other.m_windows[2], hOwn})
        EXPECT_TRUE(::IsWindowVisible(hWnd));
    ::DestroyWindow(hOwn);
}

TEST(ScreenLayout, OneMonitorIsThePrimaryScreenAndTwoAreTheWholeVirtualScreen) {
    const SCREEN_LAYOUT one = SingleScreenLayout(1366, 768);
    EXPECT_TRUE(SameRect(CurtainRect(one), RECT{-1, -1, 1368, 770}));
    EXPECT_TRUE(CoversScreen(RECT{0, 0, 1366, 768}, one));
    EXPECT_TRUE(CoversScreen(RECT{1, 1, 1365, 767}, one));
    EXPECT_FALSE(CoversScreen(RECT{2, 0, 1366, 768}, one)) << "starting at x = 2 is not full screen";
    EXPECT_FALSE(CoversScreen(RECT{0, 0, 1366, 766}, one));
    // A layout that names several monitors but no virtual screen counts as the primary one.
    EXPECT_TRUE(SameRect(CoveredArea({1366, 768, {0, 0, 0, 0}, 2, {}}), RECT{0, 0, 1366, 768}));

    const SCREEN_LAYOUT two = TwoMonitors();
    EXPECT_TRUE(SameRect(CurtainRect(two), RECT{-1281, -1, 1368, 1026}));
    // Full screen is the whole screen or any one monitor: a game may fill either monitor.
    EXPECT_TRUE(CoversScreen(RECT{0, 0, 1366, 768}, two)) << "the primary monitor";
    EXPECT_TRUE(CoversScreen(RECT{-1281, -1, 1, 1025}, two)) << "the second monitor, frame included";
    EXPECT_TRUE(CoversScreen(RECT{-1280, 0, 1366, 1024}, two));
    EXPECT_FALSE(CoversScreen(RECT{-640, 0, 640, 768}, two)) << "half of each monitor fills neither";
    EXPECT_FALSE(CoversScreen(RECT{-1280, 0, -2, 1024}, two)) << "two pixels short of the second monitor";
    // Without the monitors' rectangles only the whole virtual screen counts.
    SCREEN_LAYOUT unknown = two;
    unknown.rcMonitors.clear();
    EXPECT_FALSE(CoversScreen(RECT{0, 0, 1366, 768}, unknown));
    const auto points = ProbePoints(two);
    EXPECT_EQ(points[0].x, -1279);
    EXPECT_EQ(points[3].y, 1023);
    EXPECT_EQ(points[4].x, 43);
}

TEST_F(Controller, WithTwoMonitorsTheCurtainCoversBoth) {
    Start(TwoMonitors());
    EXPECT_TRUE(SameRect(WindowRect(Curtain()), CurtainRect(TwoMonitors()))) << Text(WindowRect(Curtain()));
    EXPECT_EQ(m_pDlg->IsObscured(), 0);
    m_pDlg->UnlockDesktop();

    // A window over one monitor is a full-screen window, as is one over both; one over half of
    // each is not.
    COtherProgram primaryOnly({At({0, 0, 1366, 768})}, true);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == primaryOnly.m_windows[0]; }));
    EXPECT_EQ(m_pDlg->DesktopLock().FindFullScreenWindow(), primaryOnly.m_windows[0]);
    COtherProgram halves({At({-640, 0, 640, 768})}, true);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == halves.m_windows[0]; }));
    EXPECT_EQ(m_pDlg->DesktopLock().FindFullScreenWindow(), nullptr);
    COtherProgram both({At({-1280, 0, 1366, 1024})}, true);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == both.m_windows[0]; }));
    EXPECT_EQ(m_pDlg->DesktopLock().FindFullScreenWindow(), both.m_windows[0]);

    // A game on the second monitor is minimised and recorded as the full-screen window.
    COtherProgram game({At({-1280, 0, 0, 1024})}, true);
    HWND hGame = game.m_windows[0];
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == hGame; }));
    m_pDlg->LockDesktop();
    ASSERT_EQ(m_pDlg->DesktopLock().HiddenWindows().CountFromFullScreen(), 1);
    EXPECT_EQ(WindowOf(*m_pDlg->DesktopLock().HiddenWindows().GetFromFullScreen(0)), hGame);
    EXPECT_TRUE(::IsIconic(hGame));
}

TEST_F(Controller, TheGamesDisplayModeIsTheOneFromBeforeItWasMinimised) {
    StartUnlocked(SingleScreenLayout(1366, 768));
    // The game runs at 800 x 600; minimised, it gives the desktop its 1366 x 768 back.
    m_system.m_cxMode = 800;
    m_system.m_cyMode = 600;
    WINDOW_WISH wish = At({0, 0, 1366, 768});
    wish.onMinimise = [this] {
        m_system.m_cxMode = 1366;
        m_system.m_cyMode = 768;
    };
    COtherProgram other({wish}, true);
    HWND hGame = other.m_windows[0];
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == hGame; }));

    m_pDlg->LockDesktop();
    ASSERT_EQ(m_pDlg->DesktopLock().HiddenWindows().CountFromFullScreen(), 1);
    const HIDDEN_WINDOW* pRecord = m_pDlg->DesktopLock().HiddenWindows().GetFromFullScreen(0);
    EXPECT_EQ(GetDisplayWidth(*pRecord), 800u);
    EXPECT_EQ(GetDisplayHeight(*pRecord), 600u);
    EXPECT_EQ(m_system.m_cxMode, 1366u) << "the game was minimised after the mode was read";

    bool bIconicAtChange = false;
    m_system.m_onDisplayChange = [&] { bIconicAtChange = ::IsIconic(hGame); };
    m_pDlg->UnlockDesktop();
    EXPECT_EQ(m_system.CallsStartingWith("display"), std::vector<std::string>{"display 800x600"});
    EXPECT_TRUE(bIconicAtChange) << "the mode comes back before the game";
    m_system.m_onDisplayChange = nullptr;
}

TEST_F(Controller, TheWatchdogStartsTheCompanionOnlyWhileItsMutexIsMissing) {
    Start();
    const std::string strCompanion = GetModuleDir() + "Tessaly.exe";
    EXPECT_TRUE(WaitUntil([&] { return !m_system.CallsStartingWith("start").empty(); }, 500));
    // Through the launcher, so that the companion is not in the program's process tree.
    EXPECT_EQ(m_system.CallsStartingWith("start").front(),
              "start " + strCompanion + " | \"" + strCompanion + "\" /launch \"" + strCompanion + "\"");

    HANDLE hMutex = ::CreateMutexA(nullptr, FALSE, kCompanionMutexName);
    EXPECT_EQ(IsCompanionRunning(), 1);
    m_system.m_calls.clear();
    Pump(350);
    EXPECT_TRUE(m_system.CallsStartingWith("start").empty());
    ::CloseHandle(hMutex);
    EXPECT_EQ(IsCompanionRunning(), 0);
}

TEST_F(Controller, TheMessengerLearnsPathAndStateAndAChildsUseIsResumed) {
    CSavedMessengerState saved;
    CMyMessenger& messenger = saved.m_messenger;

    messenger.SetMainProgState(PROGRAM_CLOSED);
    Start(CurrentScreenLayout(), &messenger);
    EXPECT_EQ(messenger.GetMainProgState(), PROGRAM_LOCKED);
    EXPECT_EQ(m_pDlg->IsResumed(), 0);
    char szPath[MAX_PATH] = {};
    messenger.GetMainProgPathName(szPath, MAX_PATH);
    EXPECT_EQ(std::string(szPath), GetModulePath());
    m_pDlg->Store().m_adminAccount.m_admin.bFirstRunPending = 0;  // the resumed run is no first run
    m_pDlg->Store().m_adminAccount.Save();
    TearDown();

    // The previous run ended during a child's use: the active users come back with the lock screen.
    BYTES record(128, 0xCC);
    std::memcpy(record.data(), "Tom", 4);
    m_folder.Write("userinfo.aur", record);
    messenger.SetMainProgState(PROGRAM_CHILD);
    Start(CurrentScreenLayout(), &messenger);
    EXPECT_EQ(m_pDlg->IsResumed(), 1);
    EXPECT_EQ(messenger.GetMainProgState(), PROGRAM_CHILD);
    EXPECT_EQ(m_pDlg->Store().m_activeUsers.GetCount(), 1);
}

TEST_F(Controller, TheTrayTipIsCutTo127Characters) {
    Start();
    m_pDlg->SetTrayTip("Tom: 1 hour left");
    EXPECT_STREQ(m_pDlg->TrayIcon().szTip, "Tom: 1 hour left");
    const std::string strLong(200, 'x');
    m_pDlg->SetTrayTip(strLong);
    EXPECT_EQ(std::string(m_pDlg->TrayIcon().szTip), strLong.substr(0, 127));
}

TEST_F(Controller, WhatAnotherProgramSendsTheCurtainGainsNothing) {
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 15, 0, 0)};
    Start();
    ASSERT_EQ(m_pDlg->GetLockDlg(), nullptr);
    CDialogAnswer firstRun(IDC_FIRST_PASSWORD, [](HWND hDlg) { CDialogAnswer::Click(hDlg, IDCANCEL); });
    struct MESSAGE {
        const char* pszWhat;
        UINT nMsg;
        WPARAM wParam;
    };
    const MESSAGE messages[] = {
        {"the start's own message, again", WM_SHOW_LOCK, 0},
        {"the first run's message after the first run", WM_FIRST_RUN, 0},
        {"the tray's Quit with no Administrator logged in", WM_COMMAND, MAKEWPARAM(ID_TRAY_QUIT, 0)},
        {"OK, as Return would send it", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED)},
        {"Cancel, as Escape would send it", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
        {"a close", WM_CLOSE, 0},
        {"Alt+F4", WM_SYSCOMMAND, SC_CLOSE},
        {"a minimise", WM_SYSCOMMAND, SC_MINIMIZE},
        {"a restore, which would make an unlocked curtain invisible", WM_SYSCOMMAND, SC_RESTORE},
        {"a resume from sleep that never was", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
    };
    for (const MESSAGE& message : messages) {
        SCOPED_TRACE(message.pszWhat);
        m_pDlg->PostMessage(message.nMsg, message.wParam);
        Pump(100);
        ASSERT_TRUE(::IsWindow(Curtain()));
        EXPECT_TRUE(m_pDlg->IsLocked());
        EXPECT_TRUE(::IsWindowVisible(Curtain()) && !::IsIconic(Curtain()));
        EXPECT_EQ(CurtainAlpha(Curtain()), 128);
        EXPECT_EQ(m_pDlg->GetLockDlg(), nullptr) << "no second lock screen, whose heartbeat names nobody";
        EXPECT_EQ(firstRun.m_nAnswered, 0) << "no first-run dialog";
    }
    EXPECT_TRUE(m_system.CallsStartingWith("set time").empty()) << "no turned clock to set back";
}

TEST_F(Controller, AnotherDesktopWithTheInputIsSwitchedBackWhileLockedAndRecordedOnce) {
    CFakeDesktop desktop;
    CEventRecorder events;
    Start();
    desktop.m_strInput = "Escape";
    m_pDlg->GuardTick();
    EXPECT_EQ(desktop.m_strInput, "Default") << "switched back";
    EXPECT_EQ(events.Count(EVENT_KIND::DESKTOP_SWITCHED), 1u);

    // As under Wine: the switch is said to succeed and the input stays. Tried every second,
    // recorded once.
    desktop.m_bSwitchTakes = false;
    desktop.m_strInput = "Escape";
    const int nBefore = desktop.m_nSwitches;
    for (int n = 0; n < 3; ++n) m_pDlg->GuardTick();
    EXPECT_GE(desktop.m_nSwitches - nBefore, 3);
    EXPECT_EQ(events.Count(EVENT_KIND::DESKTOP_SWITCHED), 2u);
    EXPECT_NE(events.m_events.back().strText.find("\"Escape\""), std::string::npos) << events.m_events.back().strText;

    // A secure desktop of the system's (Ctrl+Alt+Del) cannot be read and is left alone; so is
    // any desktop while the Administrator has the unlocked computer.
    for (const bool bLocked : {true, false}) {
        if (!bLocked) m_pDlg->UnlockDesktop();
        desktop.m_strInput = bLocked ? "" : "Escape";
        const int nSwitches = desktop.m_nSwitches;
        m_pDlg->GuardTick();
        EXPECT_EQ(desktop.m_nSwitches, nSwitches) << (bLocked ? "secure desktop" : "unlocked");
    }
}

TEST_F(Controller, AnEndOfTheSessionSentByAnotherProgramKeepsTheLockAndCountsTheGapAtTheNextStart) {
    CFakeDesktop desktop;
    CEventRecorder events;
    Start();
    m_pDlg->SendMessage(WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(m_pDlg->IsLocked() && ::IsWindowVisible(Curtain())) << "Windows does not say the session ends";
    EXPECT_EQ(events.Count(EVENT_KIND::SESSION_END), 1u);
    TearDown();

    // The next start, 30 s after the last beat of this process: the same logon session ran on, so
    // the message was not Windows' and the time away was a kill's. Another logon: a real end.
    for (const bool bSameSession : {true, false}) {
        SCOPED_TRACE(bSameSession ? "the same logon session" : "another logon session");
        CSessionEndMark::Save({static_cast<std::uint32_t>(::GetCurrentProcessId()), 0x1234, CClock::BootTime()});
        desktop.m_nLogon = bSameSession ? 0x1234 : 0x5678;
        events.m_events.clear();
        m_pDlg = std::make_unique<CControlDlg>();
        m_pDlg->UseLastBeat(CClock::Now() - 30, "", "", ::GetCurrentProcessId());
        ASSERT_TRUE(m_pDlg->Create());
        EXPECT_EQ(events.Count(EVENT_KIND::PROGRAM_KILLED), bSameSession ? 1u : 0u);
        EXPECT_FALSE(m_folder.Exists(CSessionEndMark::FILE_NAME)) << "the mark speaks for one start";
        TearDown();
    }
}

TEST_F(Controller, ADisplayChangeWhileLockedCoversEveryMonitorAtOnce) {
    Start(SingleScreenLayout(1366, 768));
    EXPECT_TRUE(m_pDlg->CurtainCoversScreen());
    // A second monitor is switched on: until the change is handled the curtain leaves it bare.
    m_pDlg->DesktopLock().UseScreenLayout(TwoMonitors());
    EXPECT_FALSE(m_pDlg->CurtainCoversScreen()) << "the check looks at every monitor, not the primary one";
    m_pDlg->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(1366, 768));
    EXPECT_TRUE(SameRect(WindowRect(Curtain()), CurtainRect(TwoMonitors()))) << Text(WindowRect(Curtain()));
    EXPECT_TRUE(m_pDlg->CurtainCoversScreen());
    EXPECT_TRUE(::GetWindowLongA(Curtain(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Unlocked, the curtain is not put back over the screen.
    m_pDlg->UnlockDesktop();
    const RECT rcUnlocked = WindowRect(Curtain());
    m_pDlg->DesktopLock().UseScreenLayout(SingleScreenLayout(800, 600));
    m_pDlg->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    EXPECT_TRUE(SameRect(WindowRect(Curtain()), rcUnlocked)) << Text(WindowRect(Curtain()));
    EXPECT_FALSE(::GetWindowLongA(Curtain(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Controller, WhileLockedTheWindowsKeyAndAltTabNeverReachWindowsAndTheCurtainKeepsTheForeground) {
    HHOOK hCounter = ::SetWindowsHookExA(WH_KEYBOARD_LL, CountKeys, ::GetModuleHandleA(nullptr), 0);
    ASSERT_NE(hCounter, nullptr);
    Start();
    ASSERT_TRUE(m_pDlg->IsLocked());
    EXPECT_TRUE(m_pDlg->DesktopLock().KeyboardHook().IsInstalled());
    ::SetForegroundWindow(Curtain());
    g_nKeysSeen = 0;
    PressAndRelease({VK_LWIN});
    PressAndRelease({VK_MENU, VK_TAB});
    PressAndRelease({VK_CONTROL, VK_ESCAPE});
    PressAndRelease({VK_CONTROL, VK_SHIFT, VK_ESCAPE});
    Pump(300);
    EXPECT_EQ(g_nKeysSeen, 4) << "only Alt, Ctrl, Ctrl and Shift went on; the Windows key, Tab and Esc were kept";
    EXPECT_EQ(::GetForegroundWindow(), Curtain());

    m_pDlg->UnlockDesktop();
    EXPECT_FALSE(m_pDlg->DesktopLock().KeyboardHook().IsInstalled());
    g_nKeysSeen = 0;
    PressAndRelease({VK_LWIN});
    EXPECT_TRUE(WaitUntil([] { return g_nKeysSeen == 1; }, 5000)) << "unlocked, the Windows key goes through";
    ::UnhookWindowsHookEx(hCounter);
}

TEST_F(Controller, EveryStartMakesTheStartWithWindowsFollowTheAdministratorsChoice) {
    using VALUES = std::map<std::string, std::string>;
    const VALUES runOnce{{"*Quenby", std::string(1, '"').append(GetModulePath()).append("\" *mute*")}};
    const VALUES run{{GetRunValueName(), GetModulePath()}};
    struct CASE {
        const char* pszName;
        int bAutoRun;
        bool bDamaged;  // the Administrator record cannot be trusted: it holds no choice
        bool bWanted;
    };
    for (const CASE& c : {CASE{"chosen", 1, false, true}, CASE{"not chosen", 0, false, false},
                          CASE{"a damaged record", 0, true, true}}) {
        SCOPED_TRACE(c.pszName);
        CAdminAccount admin;
        admin.m_admin.bFirstRunPending = c.bDamaged ? 1 : 0;
        admin.m_admin.bAutoRun = c.bAutoRun;
        ASSERT_TRUE(admin.Save());
        // A first run pending beside a child's data is a damaged record.
        if (c.bDamaged) m_folder.Write("child.nam", BYTES(64, 0x5A));
        // Windows ran the RunOnce value and deleted it; a run from before the choice left both.
        m_system.m_runOnceValues = c.bWanted ? VALUES{} : runOnce;
        m_system.m_runValues = run;
        Start();
        ASSERT_EQ(m_pDlg->Store().m_adminAccount.IsDamaged(), c.bDamaged);
        EXPECT_EQ(m_system.m_runOnceValues, c.bWanted ? runOnce : VALUES{});
        EXPECT_EQ(m_system.m_runValues, c.bWanted ? run : VALUES{});
        TearDown();
    }
}

TEST_F(Controller, AStartAfterAKillSetsBackAZoneChangedMeanwhileAndCountsTheGap) {
    // A zone of the test's own, so that the zone of the last beat always differs from the one now;
    // setting a zone moves this clock to it. Windows runs since an hour before.
    CFakeClock clock;
    clock.SetZone(0);
    clock.SetLocal(2026, 5, 12, 14, 0, 0);
    clock.SetBootTime(clock.Now() - 3600);
    m_system.m_onSetZone = [&clock](const std::string& strZone) {
        if (strZone != "UTC3600") return false;
        clock.SetZone(3600);
        return true;
    };
    // kid was using the computer and last saved 45 s before now.
    {
        CUsageStore usage;
        USAGE_RECORD kid;
        kid.strUser = "kid";
        kid.nUsedSecs = 600;
        kid.tLastSave = clock.Now() - 45;
        kid.nStateId = STATE_ALLOWED;
        usage.Add(kid);
        ASSERT_TRUE(usage.Save());
    }
    auto KidsUse = [] {
        CUsageStore usage;
        usage.Load();
        return usage.Find("kid") ? usage.Find("kid")->nUsedSecs : -1;
    };

    // The last beat 30 s ago, in another zone, with kid logged in: the previous run was killed.
    m_pDlg = std::make_unique<CControlDlg>();
    m_pDlg->UseLastBeat(clock.Now() - 30, "kid", "UTC3600", 0);
    ASSERT_TRUE(m_pDlg->Create());
    EXPECT_EQ(m_system.CallsStartingWith("set zone"), std::vector<std::string>{"set zone UTC3600"});
    EXPECT_EQ(CClock::Zone(), "UTC3600");
    EXPECT_EQ(KidsUse(), 645) << "the 45 s since kid's last save were use";
    m_pDlg->DestroyWindow();

    // An orderly end (no beat time) leaves the zone and the use alone.
    clock.SetZone(0);
    m_system.m_calls.clear();
    m_pDlg = std::make_unique<CControlDlg>();
    m_pDlg->UseLastBeat(0, "kid", "UTC3600", 0);
    ASSERT_TRUE(m_pDlg->Create());
    EXPECT_TRUE(m_system.CallsStartingWith("set zone").empty());
    EXPECT_EQ(CClock::Zone(), "UTC0");
    EXPECT_EQ(KidsUse(), 645);
}

TEST_F(Controller, AHolderOfTheCompanionsMutexThatIsNotTheCompanionDoesNotStopTheWatchdog) {
    CSavedMessengerState saved;
    HANDLE hMutex = ::CreateMutexA(nullptr, FALSE, kCompanionMutexName);
    saved.m_messenger.SetCompanionPid(::GetCurrentProcessId());  // a process, but not Tessaly.exe
    Start(CurrentScreenLayout(), &saved.m_messenger);
    EXPECT_TRUE(WaitUntil([&] { return !m_system.CallsStartingWith("start").empty(); }, 5000))
        << "the companion is started although its mutex exists";
    ::CloseHandle(hMutex);
}
