// The desktop lock of the controller: the full-screen window in front is minimised, hidden or
// pushed off the screen, every other visible top-level window is hidden, and each is recorded in
// winnodes.tmp so that the unlock (or the next start after a crash) can give it back.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "core/seams/Processes.h"
#include "core/seams/SystemActions.h"
#include "core/texts/Utilities.h"
#include "win/app/ControlDlg.h"
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

}  // namespace

void CControlDlg::Trace(const char* pszText) { ::Trace(pszText); }

// The desktop itself is never a program to put away: the system's desktop window (class
// "#32769", which is the foreground window when nothing else is, and which Wine reports as
// covering the screen) and the shell's desktop, taskbar and wallpaper windows. Minimising or
// moving the desktop window leaves the next start of the program in an endless paint.
bool CControlDlg::IsDesktopWindow(HWND hWnd) const {
    return hWnd == ::GetDesktopWindow() || ClassOf(hWnd) == "#32769" || TitleOf(hWnd) == "Program Manager" ||
           ClassOf(hWnd) == "Shell_TrayWnd" || hWnd == ::FindWindowA("Progman", nullptr) || IsWorkerWindow(hWnd);
}

HWND CControlDlg::FindFullScreenWindow() {
    HWND hWnd = ::GetForegroundWindow();
    if (!hWnd || hWnd == m_hWnd) return nullptr;
    if (hWnd == GetEditorWnd() || hWnd == GetStatusWnd())
        return nullptr;
    if (IsDesktopWindow(hWnd) || IsLetThrough(hWnd)) return nullptr;
    RECT rc;
    if (!::GetWindowRect(hWnd, &rc)) return nullptr;
    return CoversScreen(rc, ScreenLayout()) ? hWnd : nullptr;
}

void CControlDlg::LockDesktop() {
    if (HWND hFull = FindFullScreenWindow()) {
        RECT rc{};
        ::GetWindowRect(hFull, &rc);
        const std::uint32_t nHandle = HandleValue(hFull);
        if (m_hiddenWindows.Exists(nHandle)) m_hiddenWindows.Remove(nHandle);
        // The display mode the window was made for, read while it still holds the display: a game
        // that lets go of it (Alt+Tab, minimised) often switches back to the desktop's mode, and
        // the unlock must give the game its own. Zeros with only the size set when it cannot be told.
        ISystemActions& system = CSystem::Get();
        std::uint8_t dmBefore[156] = {};
        const std::uint16_t nModeSize = sizeof dmBefore;
        std::memcpy(dmBefore + offsetof(DEVMODEA, dmSize), &nModeSize, sizeof nModeSize);
        system.CurrentDisplayMode(dmBefore);
        auto record = [&](std::int32_t nRestore) {
            return MakeHiddenWindow(hFull, kFromFullScreen, rc, nRestore, dmBefore);
        };
        // Alt+Tab first: a game holding the display gives it up more willingly.
        system.SendKey(VK_MENU, false);
        system.SendKey(VK_TAB, false);
        ::Sleep(10);
        system.SendKey(VK_TAB, true);
        system.SendKey(VK_MENU, true);
        ::SendMessageA(hFull, WM_SYSCOMMAND, SC_MINIMIZE, 1);
        if (::IsIconic(hFull)) {
            m_hiddenWindows.Add(record(kRestoreFromMinimised));
            Trace("minimize sucess.");
        } else {
            Trace("minimize fail.");
            ::ShowWindow(hFull, SW_HIDE);
            if (!::IsWindowVisible(hFull)) {
                m_hiddenWindows.Add(record(kRestoreShow));
                Trace("hide sucess.");
            } else {
                Trace("hide fail.");
                const int cx = rc.right - rc.left;
                ::MoveWindow(hFull, -cx - 10, rc.top, cx, rc.bottom - rc.top, TRUE);
                m_hiddenWindows.Add(record(kRestoreMove));
                Trace("exec change position.");
            }
        }
        ::Sleep(500);
    }
    ::EnumWindows(HideWindowProc, reinterpret_cast<LPARAM>(this));
    m_hiddenWindows.Save();

    ::SetFocus(m_hWnd);
    CoverScreen();
    SetAlphaMode(m_nLockBackground);
    m_bLocked = true;
    RaiseLetThrough(true);
    m_keyboardHook.Install();
    // The curtain is of no use on a desktop that does not have the input.
    CheckInputDesktop();
}

void CControlDlg::CoverScreen() {
    const RECT rcCurtain = CurtainRect(ScreenLayout());
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rcCurtain.left, rcCurtain.top, rcCurtain.right - rcCurtain.left,
                   rcCurtain.bottom - rcCurtain.top, SWP_SHOWWINDOW);
}

bool CControlDlg::CurtainCoversScreen() const {
    RECT rc{};
    if (!::GetWindowRect(m_hWnd, &rc)) return false;
    const RECT rcArea = CoveredArea(ScreenLayout());
    return rc.left <= rcArea.left && rc.top <= rcArea.top && rc.right >= rcArea.right && rc.bottom >= rcArea.bottom;
}

BOOL CALLBACK CControlDlg::HideWindowProc(HWND hWnd, LPARAM lParam) {
    auto* pThis = reinterpret_cast<CControlDlg*>(lParam);
    if (!(::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE)) return TRUE;
    if (::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId()) return TRUE;
    if (pThis->IsDesktopWindow(hWnd) || pThis->IsLetThrough(hWnd)) return TRUE;
    const std::uint32_t nHandle = HandleValue(hWnd);
    if (pThis->m_hiddenWindows.Exists(nHandle)) return TRUE;
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    pThis->m_hiddenWindows.Add(MakeHiddenWindow(hWnd, kFromSweep, rc, kRestoreShow));
    // Asynchronously, so that a hung program cannot hold up the lock.
    ::ShowWindowAsync(hWnd, SW_HIDE);
    return TRUE;
}

void CControlDlg::RestoreWindow(const HIDDEN_WINDOW& window) {
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
        case 3:
            ::SendMessageA(hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
            ::ShowWindow(hWnd, SW_SHOW);
            break;
        default:
            break;
    }
}

void CControlDlg::RestoreSweptWindows() {
    for (int n = 0; n < m_hiddenWindows.GetCount(); ++n) {
        const HIDDEN_WINDOW* pWindow = m_hiddenWindows.GetAt(n);
        // Full-screen windows are given back by the unlock, after the display mode.
        if (!::IsWindow(WindowOf(*pWindow)) || m_hiddenWindows.ExistsFromFullScreen(pWindow->hWnd)) continue;
        RestoreWindow(*pWindow);
    }
}

// ---------------------------------------------------------------------------------------------
// The programs the lock lets through

bool CControlDlg::IsLetThrough(HWND hWnd) const {
    if (m_letThrough.empty() || !hWnd) return false;
    const std::uint32_t nPid = CProcesses::Get().ProcessOfWindow(reinterpret_cast<std::uintptr_t>(hWnd));
    return nPid != 0 && std::find(m_letThrough.begin(), m_letThrough.end(), nPid) != m_letThrough.end();
}

void CControlDlg::LetThrough(const std::vector<std::uint32_t>& processes) {
    const bool bChanged = processes != m_letThrough;
    m_letThrough = processes;
    if (!m_bLocked) return;
    if (bChanged) {
        LowerRaised(false);
        ReturnLetThrough();
        // What is no longer let through is put away like the rest.
        ::EnumWindows(HideWindowProc, reinterpret_cast<LPARAM>(this));
        m_hiddenWindows.Save();
    }
    // Every second: a window the program opened since stands above the curtain too.
    RaiseLetThrough(false);
}

void CControlDlg::ReturnLetThrough() {
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
    const CControlDlg* pControl;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectLetThrough(HWND hWnd, LPARAM lParam) {
    auto* pQuery = reinterpret_cast<RAISE_QUERY*>(lParam);
    if (::IsWindowVisible(hWnd) && pQuery->pControl->IsLetThrough(hWnd)) pQuery->windows.push_back(hWnd);
    return TRUE;
}

}  // namespace

void CControlDlg::RaiseLetThrough(bool bAgain) {
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

void CControlDlg::LowerRaised(bool bAll) {
    for (auto it = m_raised.begin(); it != m_raised.end();) {
        if (!bAll && ::IsWindow(*it) && IsLetThrough(*it)) {
            ++it;
            continue;
        }
        if (::IsWindow(*it)) ::SetWindowPos(*it, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        it = m_raised.erase(it);
    }
}

void CControlDlg::UnlockDesktop() {
    m_keyboardHook.Remove();
    LowerRaised(true);
    if (!m_bLocked) return;
    RestoreSweptWindows();
    ShowWindow(SW_SHOWNORMAL);
    ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetAlphaMode(kAlphaInvisible);

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
                Trace("unlock SW_SHOW.");
                break;
            case kRestoreFromMinimised:
            case 3:
                ::SendMessageA(hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
                Trace("unlock SC_RESTORE.");
                break;
            case kRestoreMove:
                ::MoveWindow(hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
                ::ShowWindow(hWnd, SW_SHOW);
                Trace("unlock MoveWindow.");
                break;
            default:
                break;
        }
    }
    m_hiddenWindows.RemoveAll();
    m_hiddenWindows.Save();
    m_bLocked = false;
}

bool CControlDlg::IsObscured() {
    for (const POINT& pt : ProbePoints(ScreenLayout()))
        if (::WindowFromPoint(pt) == m_hWnd) return false;
    return true;
}
