// The desktop lock: other programs' windows put out of reach and given back, the curtain over
// every monitor.
#include "win/app/DesktopLock.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "core/seams/Desktop.h"
#include "core/seams/Events.h"
#include "core/seams/Processes.h"
#include "core/seams/SystemActions.h"
#include "win/app/HiddenWindowDisplay.h"

namespace {

std::string TitleOf(HWND hWnd) {
    char sz[256] = {};
    ::GetWindowTextA(hWnd, sz, 255);
    return sz;
}

std::string ClassOf(HWND hWnd) {
    char sz[256] = {};
    ::GetClassNameA(hWnd, sz, 255);
    return sz;
}

bool IsWorkerWindow(HWND hWnd) {
    for (HWND hWorker = ::FindWindowExA(nullptr, nullptr, "WorkerW", nullptr); hWorker;
         hWorker = ::FindWindowExA(nullptr, hWorker, "WorkerW", nullptr))
        if (hWorker == hWnd) return true;
    return false;
}

// The program's own windows (the curtain, the lock screen, the account windows and their
// dialogs) all belong to its one window thread.
bool IsOurs(HWND hWnd) { return ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId(); }

// The display mode the program made for, read while it still holds the display: a game that lets
// go of it (Alt+Tab, minimised) often switches back to the desktop's mode, and the unlock must
// give the game its own. Zeros with only the size set when it cannot be told.
void ReadDisplayMode(std::uint8_t (&dm)[156]) {
    std::memset(dm, 0, sizeof dm);
    const std::uint16_t nModeSize = sizeof dm;
    std::memcpy(dm + offsetof(DEVMODEA, dmSize), &nModeSize, sizeof nModeSize);
    CSystem::Get().CurrentDisplayMode(dm);
}

// Alt+Tab, pressed and released: the four key events reach the system's input queue in order.
void SendAltTab() {
    ISystemActions& system = CSystem::Get();
    system.SendKey(VK_MENU, false);
    system.SendKey(VK_TAB, false);
    system.SendKey(VK_TAB, true);
    system.SendKey(VK_MENU, true);
}

}  // namespace

// The desktop itself is never a program to put away: the system's desktop window (class
// "#32769", which is the foreground window when nothing else is, and which Wine reports as
// covering the screen) and the shell's desktop, taskbar and wallpaper windows. Minimising or
// moving the desktop window leaves the next start of the program in an endless paint.
bool CDesktopLock::IsDesktopWindow(HWND hWnd) {
    return hWnd == ::GetDesktopWindow() || ClassOf(hWnd) == "#32769" || TitleOf(hWnd) == "Program Manager" ||
           ClassOf(hWnd) == "Shell_TrayWnd" || hWnd == ::FindWindowA("Progman", nullptr) || IsWorkerWindow(hWnd);
}

HWND CDesktopLock::FindFullScreenWindow() const {
    HWND hWnd = ::GetForegroundWindow();
    if (!hWnd || IsOurs(hWnd) || IsDesktopWindow(hWnd) || IsLetThrough(hWnd)) return nullptr;
    RECT rc;
    if (!::GetWindowRect(hWnd, &rc)) return nullptr;
    return CoversScreen(rc, ScreenLayout()) ? hWnd : nullptr;
}

void CDesktopLock::Lock() {
    if (HWND hFull = FindFullScreenWindow()) {
        PutAway(hFull);
        // Looked at again once the program has settled; the curtain goes up now all the same.
        ::SetTimer(m_host.CurtainWnd(), kSettleTimer, kSettleDelay, nullptr);
    }
    Sweep();
    m_hiddenWindows.Save();

    const HWND hCurtain = m_host.CurtainWnd();
    ::SetFocus(hCurtain);
    CoverScreen();
    m_host.ShowCurtainLocked(true);
    m_bLocked = true;
    RaiseLetThrough(true);
    m_keyboardHook.Install();
    // The curtain is of no use on a desktop that does not have the input.
    CheckInputDesktop();
}

void CDesktopLock::CheckInputDesktop() {
    IDesktop& desktop = CDesktop::Get();
    const std::string strInput = desktop.InputDesktop();
    // A secure desktop of the system's (Ctrl+Alt+Del, a password prompt) cannot be opened, and no
    // program of the account runs there: it is left alone.
    if (strInput.empty() || strInput == desktop.OwnDesktop()) {
        m_bDesktopAway = false;
        return;
    }
    const bool bSwitched = desktop.SwitchToOwn();
    if (!m_bDesktopAway)
        CEvents::Record(EVENT_KIND::DESKTOP_SWITCHED,
                        "Another desktop (\"" + strInput + "\") had the input; " +
                            (bSwitched ? "it was switched back." : "switching back was refused."));
    // Until the input is back it is tried every second, and recorded once.
    const std::string strNow = desktop.InputDesktop();
    m_bDesktopAway = !strNow.empty() && strNow != desktop.OwnDesktop();
}

void CDesktopLock::PutAway(HWND hFull) {
    RECT rc{};
    ::GetWindowRect(hFull, &rc);
    const std::uint32_t nHandle = HandleValue(hFull);
    if (m_hiddenWindows.Exists(nHandle)) m_hiddenWindows.Remove(nHandle);
    std::uint8_t dmBefore[156];
    ReadDisplayMode(dmBefore);
    auto record = [&](std::int32_t nRestore) { m_hiddenWindows.Add(MakeHiddenWindow(hFull, kFromFullScreen, rc, nRestore, dmBefore)); };

    SendAltTab();
    ::SendMessageA(hFull, WM_SYSCOMMAND, SC_MINIMIZE, 1);
    if (::IsIconic(hFull)) return record(kRestoreFromMinimised);
    ::ShowWindow(hFull, SW_HIDE);
    if (!::IsWindowVisible(hFull)) return record(kRestoreShow);
    const int cx = rc.right - rc.left;
    ::MoveWindow(hFull, -cx - 10, rc.top, cx, rc.bottom - rc.top, TRUE);
    record(kRestoreMove);
}

void CDesktopLock::Sweep() { ::EnumWindows(SweepProc, reinterpret_cast<LPARAM>(this)); }

BOOL CALLBACK CDesktopLock::SweepProc(HWND hWnd, LPARAM lParam) {
    auto* pThis = reinterpret_cast<CDesktopLock*>(lParam);
    if (!(::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE)) return TRUE;
    if (IsOurs(hWnd) || IsDesktopWindow(hWnd) || pThis->IsLetThrough(hWnd)) return TRUE;
    const std::uint32_t nHandle = HandleValue(hWnd);
    if (pThis->m_hiddenWindows.Exists(nHandle)) return TRUE;
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    pThis->m_hiddenWindows.Add(MakeHiddenWindow(hWnd, kFromSweep, rc, kRestoreShow));
    // Asynchronously, so that a hung program cannot hold up the lock.
    ::ShowWindowAsync(hWnd, SW_HIDE);
    return TRUE;
}

bool CDesktopLock::OnTimer(UINT_PTR nId) {
    if (nId != kSettleTimer) return false;
    ::KillTimer(m_host.CurtainWnd(), kSettleTimer);
    // A timer message from anyone else only makes a lock look again.
    if (m_bLocked) Settle();
    return true;
}

void CDesktopLock::Settle() {
    const int nBefore = m_hiddenWindows.GetCount();
    Sweep();
    if (m_hiddenWindows.GetCount() != nBefore) m_hiddenWindows.Save();
    CoverScreen();
}

void CDesktopLock::CoverScreen() {
    const RECT rcCurtain = CurtainRect(ScreenLayout());
    ::SetWindowPos(m_host.CurtainWnd(), HWND_TOPMOST, rcCurtain.left, rcCurtain.top, rcCurtain.right - rcCurtain.left,
                   rcCurtain.bottom - rcCurtain.top, SWP_SHOWWINDOW);
    // The curtain went on top anew: the windows let through go above it again.
    if (m_bLocked) RaiseLetThrough(true);
}

bool CDesktopLock::CurtainCoversScreen() const {
    RECT rc{};
    if (!::GetWindowRect(m_host.CurtainWnd(), &rc)) return false;
    const RECT rcArea = CoveredArea(ScreenLayout());
    return rc.left <= rcArea.left && rc.top <= rcArea.top && rc.right >= rcArea.right && rc.bottom >= rcArea.bottom;
}

bool CDesktopLock::IsObscured() const {
    const HWND hCurtain = m_host.CurtainWnd();
    for (const POINT& pt : ProbePoints(ScreenLayout()))
        if (::WindowFromPoint(pt) == hCurtain) return false;
    return true;
}

void CDesktopLock::RestoreWindow(const HIDDEN_WINDOW& window) {
    HWND hWnd = WindowOf(window);
    const HIDDEN_RECT& rc = window.rcWindow;
    switch (window.nRestore) {
        case kRestoreShow:
            ::ShowWindowAsync(hWnd, SW_SHOW);
            break;
        case kRestoreFromMinimised:
            ::SendMessageA(hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
            break;
        case kRestoreMove:
            ::MoveWindow(hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
            break;
        case kRestoreAndShow:
            ::SendMessageA(hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
            ::ShowWindow(hWnd, SW_SHOW);
            break;
        default:
            break;
    }
}

void CDesktopLock::RestoreSweptWindows() {
    for (int n = 0; n < m_hiddenWindows.GetCount(); ++n) {
        const HIDDEN_WINDOW* pWindow = m_hiddenWindows.GetAt(n);
        // Full-screen windows are given back by the unlock, after the display mode.
        if (!::IsWindow(WindowOf(*pWindow)) || m_hiddenWindows.ExistsFromFullScreen(pWindow->hWnd)) continue;
        RestoreWindow(*pWindow);
    }
}

// ---------------------------------------------------------------------------------------------
// The programs the lock lets through

bool CDesktopLock::IsLetThrough(HWND hWnd) const {
    if (m_letThrough.empty() || !hWnd) return false;
    const std::uint32_t nPid = CProcesses::Get().ProcessOfWindow(reinterpret_cast<std::uintptr_t>(hWnd));
    return nPid != 0 && std::find(m_letThrough.begin(), m_letThrough.end(), nPid) != m_letThrough.end();
}

void CDesktopLock::LetThrough(const std::vector<std::uint32_t>& processes) {
    const bool bChanged = processes != m_letThrough;
    m_letThrough = processes;
    if (!m_bLocked) return;
    if (bChanged) {
        LowerRaised(false);
        ReturnLetThrough();
        // What is no longer let through is put away like the rest.
        Sweep();
        m_hiddenWindows.Save();
    }
    // Every second: a window the program opened since stands above the curtain too.
    RaiseLetThrough(false);
}

void CDesktopLock::ReturnLetThrough() {
    std::vector<std::uint32_t> returned;
    for (int n = 0; n < m_hiddenWindows.GetCount(); ++n) {
        const HIDDEN_WINDOW* pWindow = m_hiddenWindows.GetAt(n);
        if (!::IsWindow(WindowOf(*pWindow)) || !IsLetThrough(WindowOf(*pWindow))) continue;
        RestoreWindow(*pWindow);
        returned.push_back(pWindow->hWnd);
    }
    for (std::uint32_t nHandle : returned) m_hiddenWindows.Remove(nHandle);
    if (!returned.empty()) m_hiddenWindows.Save();
}

namespace {

struct RAISE_QUERY {
    const CDesktopLock* pLock;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectLetThrough(HWND hWnd, LPARAM lParam) {
    auto* pQuery = reinterpret_cast<RAISE_QUERY*>(lParam);
    if (::IsWindowVisible(hWnd) && pQuery->pLock->IsLetThrough(hWnd)) pQuery->windows.push_back(hWnd);
    return TRUE;
}

}  // namespace

void CDesktopLock::RaiseLetThrough(bool bAgain) {
    if (m_letThrough.empty() || !m_bLocked) return;
    RAISE_QUERY query{this, {}};
    ::EnumWindows(CollectLetThrough, reinterpret_cast<LPARAM>(&query));
    for (HWND hWnd : query.windows) {
        const bool bTopmost = (::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        // A window topmost of its own is left alone (and so never made ordinary by the lock);
        // one raised before is raised again only after the curtain was put on top anew, so that
        // it does not cover the status window every second.
        if (bTopmost && (!m_raised.count(hWnd) || !bAgain)) continue;
        ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        m_raised.insert(hWnd);
    }
}

void CDesktopLock::LowerRaised(bool bAll) {
    for (auto it = m_raised.begin(); it != m_raised.end();) {
        if (!bAll && ::IsWindow(*it) && IsLetThrough(*it)) {
            ++it;
            continue;
        }
        if (::IsWindow(*it)) ::SetWindowPos(*it, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        it = m_raised.erase(it);
    }
}

void CDesktopLock::Unlock() {
    m_keyboardHook.Remove();
    LowerRaised(true);
    if (!m_bLocked) return;
    ::KillTimer(m_host.CurtainWnd(), kSettleTimer);
    RestoreSweptWindows();
    const HWND hCurtain = m_host.CurtainWnd();
    ::ShowWindow(hCurtain, SW_SHOWNORMAL);
    ::SetWindowPos(hCurtain, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_host.ShowCurtainLocked(false);
    GiveBackFullScreenWindows();
    m_hiddenWindows.RemoveAll();
    m_hiddenWindows.Save();
    m_bLocked = false;
}

void CDesktopLock::GiveBackFullScreenWindows() {
    const SCREEN_LAYOUT layout = ScreenLayout();
    for (int n = 0; n < m_hiddenWindows.CountFromFullScreen(); ++n) {
        const HIDDEN_WINDOW* pWindow = m_hiddenWindows.GetFromFullScreen(n);
        HWND hWnd = WindowOf(*pWindow);
        if (!::IsWindow(hWnd)) continue;
        // The display mode first, so that the window comes back in the mode it was made for. A
        // record without a screen size (some systems report none) names no mode to go back to.
        const std::uint32_t cx = GetDisplayWidth(*pWindow);
        const std::uint32_t cy = GetDisplayHeight(*pWindow);
        if (cx != 0 && cy != 0 &&
            (cx != static_cast<std::uint32_t>(layout.cxPrimary) || cy != static_cast<std::uint32_t>(layout.cyPrimary)))
            CSystem::Get().ChangeDisplayMode(pWindow->dmDisplay);
        const HIDDEN_RECT& rc = pWindow->rcWindow;
        switch (pWindow->nRestore) {
            case kRestoreShow:
                ::ShowWindow(hWnd, SW_SHOW);
                break;
            case kRestoreFromMinimised:
            case kRestoreAndShow:
                ::SendMessageA(hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
                break;
            case kRestoreMove:
                ::MoveWindow(hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
                ::ShowWindow(hWnd, SW_SHOW);
                break;
            default:
                break;
        }
    }
}
