// The controller window: start-up of the run, curtain transparency, tray icon and menu, hot key,
// companion watchdog and shutdown.
#include "win/app/ControlDlg.h"

#include <algorithm>
#include <cstring>

#include "companion/CompanionNames.h"
#include "companion/win32/MyMessenger.h"
#include "core/rules/DayHistory.h"
#include "core/rules/KillGap.h"
#include "core/seams/DataGuard.h"
#include "core/seams/Desktop.h"
#include "core/seams/Events.h"
#include "core/seams/SystemActions.h"
#include "core/store/SessionEndMark.h"
#include "platform/win32/ModulePath.h"
#include "resources/resource.h"
#include "win/framework/WinApp.h"
#include "win/windows/AboutDlg.h"
#include "win/windows/AutoRun.h"
#include "win/windows/LockDlg.h"

namespace {

constexpr const char* kTitle = "Quenby";
// The tray icon record as the shell of the oldest supported system knows it: the version-2 form,
// 504 bytes in a 64-bit program (488 in a 32-bit one: the window and icon handles are wider).
constexpr DWORD kTrayRecordSize = NOTIFYICONDATAA_V2_SIZE;
static_assert(kTrayRecordSize == (sizeof(void*) == 8 ? 504 : 488), "the version-2 form of the tray record");

}  // namespace

bool IsGuarded() { return CDataGuard::Get() != nullptr; }

int IsCompanionRunning() {
    HANDLE hMutex = ::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kCompanionMutexName);
    if (!hMutex) return 0;
    ::CloseHandle(hMutex);
    return 1;
}

CControlDlg::CControlDlg() : CDialog(IDD_CONTROL), m_dlgFirstRun(&m_store, this) {
    m_hIcon = ::LoadIconA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(IDI_QUENBY));
}

CControlDlg::~CControlDlg() {
    if (m_hUser32) ::FreeLibrary(m_hUser32);
    m_hUser32 = nullptr;
}

BOOL CControlDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_pLockDlg = nullptr;

    if (HMENU hSysMenu = ::GetSystemMenu(m_hWnd, FALSE)) {
        char szAbout[128] = {};
        ::LoadStringA(CWinApp::ResourceHandle(), IDS_ABOUTBOX, szAbout, sizeof szAbout);
        if (szAbout[0]) {
            ::AppendMenuA(hSysMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(hSysMenu, MF_STRING, IDM_ABOUTBOX, szAbout);
        }
        for (UINT nCommand : {SC_SIZE, SC_MOVE, SC_MINIMIZE, SC_MAXIMIZE})
            ::RemoveMenu(hSysMenu, nCommand, MF_BYCOMMAND);
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_store.LoadAccounts();
    m_nLockBackground = m_store.m_adminAccount.m_admin.nLockBackground;
    const CKillGap killGap(m_tLastBeat, m_strLastUser, m_nLastBeatPid, CSessionEndMark::Take());
    m_clockGuard.Start();
    // A zone changed while the program was killed is set back like one changed while it ran, and
    // before any day is judged: where it cannot be, the days are judged in the zone held.
    if (killGap.WasKilled() && !m_strLastZone.empty()) {
        m_clockGuard.HoldZone(m_strLastZone);
        m_clockGuard.Check(CClockGuard::NOBODY);
    }
    // Children's days that ended while the program was not running go to the history now.
    CDayHistory::CloseEndedDays(m_store, CClock::Now());

    m_nid.cbSize = kTrayRecordSize;
    m_nid.hWnd = m_hWnd;
    m_nid.uID = kTrayIconId;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = WM_TRAY_NOTIFY;
    m_nid.hIcon = m_hIcon;
    std::strcpy(m_nid.szTip, kTitle);
    AddTrayIcon();
    // Explorer tells every top-level window when it starts again; the icon must then be added anew.
    m_nTaskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");

    // The curtain: maximised, without frame, layered.
    ShowWindow(SW_SHOWMAXIMIZED);
    const LONG nStyle = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    ::SetWindowLongA(m_hWnd, GWL_STYLE, nStyle & ~(WS_THICKFRAME | WS_DLGFRAME));
    const LONG nExStyle = ::GetWindowLongA(m_hWnd, GWL_EXSTYLE);
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, nExStyle | WS_EX_LAYERED);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetAlphaMode(m_nLockBackground);

    // The start with Windows as the Administrator chose it: Windows deletes the RunOnce value it
    // ran, so each start arms it again, and a choice against it leaves nothing behind. A damaged
    // record holds no choice, and damaging it must not switch the start off. A guard service
    // starts the program itself: no value is wanted, and one left from before goes.
    const CAdminAccount& admin = m_store.m_adminAccount;
    if (const long nStatus = AlignAutoRun(!IsGuarded() && (admin.IsDamaged() || admin.m_admin.bAutoRun == 1)))
        CEvents::Record(EVENT_KIND::AUTO_RUN_FAILED, "The start with Windows could not be set as chosen (error " +
                                                         std::to_string(nStatus) + ").");
    // A previous run ended while Windows ran on: the child's use it hid is counted now.
    if (m_bRestartedHung)
        CEvents::Record(EVENT_KIND::PROGRAM_HUNG, "Quenby stood still for 5 s (suspended or hung) and was restarted.");
    killGap.Account(m_store.m_usageStore);
    // Windows that a run ended while locked left hidden come back before the new lock.
    m_desktopLock.HiddenWindows().Load();
    m_desktopLock.RestoreSweptWindows();
    LockDesktop();

    if (m_pMessenger) {
        m_pMessenger->SetMainProgPathName(GetModulePath().c_str());
        if (m_pMessenger->GetMainProgState() == 2)
            m_bResumed = true;
        else
            m_pMessenger->SetMainProgState(1);
    }
    m_bStartPending = true;
    PostMessage(m_store.m_adminAccount.m_admin.bFirstRunPending == 1 ? WM_FIRST_RUN : WM_SHOW_LOCK);
    SetWindowText(kTitle);
    ::RegisterHotKey(m_hWnd, ID_HOTKEY_SWITCH, MOD_ALT, 'Q');
    // A guard service keeps the program running: no companion of its own is needed.
    if (!IsGuarded()) SetTimer(kWatchdogTimer, kWatchdogInterval);
    SetTimer(kGuardTimer, kGuardInterval);
    GuardTick();  // the first beat of the controller, before its first second has passed
    return TRUE;
}

void CControlDlg::AddTrayIcon() { ::Shell_NotifyIconA(NIM_ADD, &m_nid); }

void CControlDlg::SetTrayTip(const std::string& strTip) {
    const size_t nLength = std::min(strTip.size(), sizeof m_nid.szTip - 1);
    std::memcpy(m_nid.szTip, strTip.data(), nLength);
    m_nid.szTip[nLength] = '\0';
    ::Shell_NotifyIconA(NIM_MODIFY, &m_nid);
}

void CControlDlg::SetAlphaMode(int nMode) {
    if (nMode == m_nAlphaMode) return;
    if (!m_hUser32) m_hUser32 = ::LoadLibraryA("User32.DLL");
    if (m_hUser32 && !m_pfnSetLayered)
        m_pfnSetLayered = reinterpret_cast<SETLAYERED>(
            reinterpret_cast<void*>(::GetProcAddress(m_hUser32, "SetLayeredWindowAttributes")));
    if (!m_hUser32 || !m_pfnSetLayered) return;
    BYTE nAlpha = 0;
    switch (nMode) {
        case kAlphaOpaque: nAlpha = 255; break;
        case kAlphaHalf: nAlpha = 128; break;
        case kAlphaInvisible: nAlpha = 0; break;
        default: return;
    }
    m_pfnSetLayered(m_hWnd, 0, nAlpha, LWA_ALPHA);
    m_nAlphaMode = nMode;
}

bool CControlDlg::IsCompanionAlive() {
    if (!IsCompanionRunning()) return false;
    if (!m_pMessenger) return true;
    const unsigned long nPid = m_pMessenger->GetCompanionPid();
    if (nPid != m_nCompanionPid) {
        m_companion.Reset(m_pMessenger->IsCompanionProcess(nPid) ? ::OpenProcess(SYNCHRONIZE, FALSE, nPid) : nullptr);
        m_nCompanionPid = nPid;
    }
    return m_companion && ::WaitForSingleObject(m_companion.Get(), 0) == WAIT_TIMEOUT;
}

void CControlDlg::StartCompanion() {
    const std::string strPath = GetModuleDir() + kCompanionExe;
    const std::string strQuoted = "\"" + strPath + "\"";
    CSystem::Get().StartProcess(strPath, strQuoted + " " + kLaunchSwitch + " " + strQuoted);
}

BOOL CControlDlg::PreTranslateMessage(MSG* pMsg) {
    // Return and Escape would end the dialog, and with it the program.
    if (IsReturnOrEscape(pMsg)) return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

bool CControlDlg::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (nMsg) {
        case WM_SHOW_LOCK:
        case WM_FIRST_RUN:
            OnStartMessage();
            return true;
        case WM_TRAY_NOTIFY:
            lResult = OnTrayNotify(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
            return true;
        case WM_HOTKEY:
            if (wParam != ID_HOTKEY_SWITCH) return false;
            if (m_pLockDlg) LockScreen()->SwitchUser();
            return true;
        case WM_MOUSEACTIVATE:
            // A click on the curtain never activates it.
            lResult = MA_NOACTIVATE;
            return true;
        case WM_QUERYENDSESSION:
            // Windows is shutting down or logging off: never stand in its way.
            lResult = TRUE;
            return true;
        case WM_ENDSESSION:
            if (wParam) OnEndSession();
            return true;
        case WM_TIMECHANGE:
            // Judged at once: a change just before a switch of user is undone all the same. (A
            // resume from sleep needs no message: the clock tells the time slept itself.)
            m_clockGuard.SetTimeChange();
            GuardTick();
            return false;
        case WM_CLOSE:
            // Alt+F4 or anyone's WM_CLOSE: the curtain stays; only Quit ends the program.
            return true;
        case WM_DISPLAYCHANGE:
            // A monitor added or removed, or a mode changed: the curtain covers the new screen at once.
            if (IsLocked()) m_desktopLock.CoverScreen();
            return false;
        case WM_QUERYDRAGICON:
            lResult = reinterpret_cast<LRESULT>(m_hIcon);
            return true;
        case WM_GETMINMAXINFO: {
            // The curtain may be as large as every monitor together.
            const RECT rc = CurtainRect(m_desktopLock.ScreenLayout());
            auto* pInfo = reinterpret_cast<MINMAXINFO*>(lParam);
            pInfo->ptMaxTrackSize.x = std::max<LONG>(pInfo->ptMaxTrackSize.x, rc.right - rc.left);
            pInfo->ptMaxTrackSize.y = std::max<LONG>(pInfo->ptMaxTrackSize.y, rc.bottom - rc.top);
            return false;
        }
        default:
            if (m_nTaskbarCreated && nMsg == m_nTaskbarCreated) {
                AddTrayIcon();
                return true;
            }
            return false;
    }
}

void CControlDlg::OnStartMessage() {
    if (!m_bStartPending) return;
    m_bStartPending = false;
    // Read again, not remembered from the post: only a first run still pending shows its dialog.
    const CAdminAccount& admin = m_store.m_adminAccount;
    if (admin.m_admin.bFirstRunPending == 1 && !admin.IsDamaged())
        OnFirstRun();
    else
        OnShowLock();
}

void CControlDlg::OnShowLock() {
    m_pLockDlg = new CLockDlg(&m_store, this);
    m_pLockDlg->Create();
    if (m_bResumed) {
        m_store.m_activeUsers.Load();
        if (m_pMessenger) m_pMessenger->SetMainProgState(2);
    }
    m_pLockDlg->ShowWindow(SW_SHOW);
}

void CControlDlg::SetMessengerState(int nState) {
    if (m_pMessenger) m_pMessenger->SetMainProgState(nState);
}

void CControlDlg::OnFirstRun() {
    m_dlgFirstRun.DoModal();
    RecreateLockDlg();
}

void CControlDlg::RecreateLockDlg() {
    if (m_pLockDlg && m_pLockDlg->m_hWnd) m_pLockDlg->DestroyWindow();  // the object deletes itself
    m_pLockDlg = new CLockDlg(&m_store, this);
    m_pLockDlg->Create();
    m_pLockDlg->ShowWindow(SW_SHOW);
}

ILockScreen* CControlDlg::LockScreen() const { return m_pLockDlg; }

LOGGED_IN CControlDlg::LoggedIn() const {
    return m_pLockDlg ? LockScreen()->LoggedIn() : LOGGED_IN::NOBODY;
}

void CControlDlg::RestoreCurtain() {
    if (::IsIconic(m_hWnd)) SendMessage(WM_SYSCOMMAND, SC_RESTORE);
}

void CControlDlg::DropToTray() {
    MinimiseCurtain();
    ShowWindow(SW_HIDE);
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & ~WS_EX_APPWINDOW);
}

void CControlDlg::ShowAboveCurtain(HWND hWnd) {
    // Placed after the curtain in the z-order: an owned window stays above its owner.
    ::SetWindowPos(hWnd, m_hWnd, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
}

void CControlDlg::OfferCurtainClose(bool bOffer) {
    if (HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE))
        ::EnableMenuItem(hMenu, SC_CLOSE, MF_BYCOMMAND | (bOffer ? MF_ENABLED : MF_GRAYED));
}

LRESULT CControlDlg::OnTrayNotify(UINT nId, UINT nMouseMsg) {
    // No tray action while the screen is locked.
    if (nId != kTrayIconId || IsLocked()) return 1;
    switch (nMouseMsg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            ShowMainWindow();
            break;
        case WM_RBUTTONUP:
            if (!IsTrayMenuEnabled())
                ShowMainWindow();
            else
                ShowTrayMenu();
            break;
        default:
            break;
    }
    return 0;
}

void CControlDlg::ShowTrayMenu() {
    // Entry 1 while the settings editor is open, entry 2 while the status window is; none otherwise.
    const LOGGED_IN who = LoggedIn();
    if (who == LOGGED_IN::NOBODY) return;
    const int nEntry = who == LOGGED_IN::CHILD ? 2 : 1;
    POINT pt{};
    ::GetCursorPos(&pt);
    HMENU hMenu = ::LoadMenuA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(IDR_TRAYMENU));
    if (!hMenu) return;
    if (HMENU hPopup = ::GetSubMenu(hMenu, nEntry)) {
        // Without the foreground the menu would not close when the user clicks elsewhere.
        ::SetForegroundWindow(m_hWnd);
        HWND hOwner = m_hWnd;
        while ((::GetWindowLongA(hOwner, GWL_STYLE) & WS_CHILD) && ::GetParent(hOwner)) hOwner = ::GetParent(hOwner);
        ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, hOwner, nullptr);
        PostMessage(WM_NULL);
    }
    ::DestroyMenu(hMenu);
}

void CControlDlg::ShowMainWindow() {
    if (LoggedIn() == LOGGED_IN::NOBODY) return;
    PostMessage(WM_SYSCOMMAND, SC_RESTORE);
    LockScreen()->ShowAccountWindow();
}

bool CControlDlg::OnCommand(int nId, int, HWND) {
    switch (nId) {
        case ID_TRAY_SHOW:
            ShowMainWindow();
            return true;
        case ID_TRAY_SWITCH_EDITOR:
            if (LoggedIn() == LOGGED_IN::ADMINISTRATOR) LockScreen()->SwitchUser();
            return true;
        case ID_TRAY_QUIT:
            // Offered only in the Administrator's menu: anyone else's command does nothing.
            if (LoggedIn() == LOGGED_IN::ADMINISTRATOR) Quit();
            return true;
        case ID_TRAY_SWITCH_STATUS:
            if (LoggedIn() == LOGGED_IN::CHILD) LockScreen()->SwitchUser();
            return true;
        case ID_TRAY_REST:
            if (m_pLockDlg) LockScreen()->TakeRest();
            return true;
        case ID_TRAY_MINI:
            if (m_pLockDlg) LockScreen()->ShowMiniWindow();
            return true;
        default:
            return false;
    }
}

void CControlDlg::OnEndSession() {
    // Any program may send this message. The heartbeat goes on as it was: the next start counts
    // the time until it as nobody's use only when this logon session or the boot really ended.
    IDesktop& desktop = CDesktop::Get();
    CSessionEndMark::Save({static_cast<std::uint32_t>(::GetCurrentProcessId()), desktop.LogonSession(), CClock::BootTime()});
    // The process may be ended as soon as this returns: nothing is left for the destroy path.
    // A failure is shown in the status window and in the event log; the lock goes on regardless.
    if (m_pLockDlg) LockScreen()->SaveChildsUse();
    if (!desktop.IsSessionEnding()) {
        CEvents::Record(EVENT_KIND::SESSION_END,
                        "The end of the Windows session was announced, but Windows does not say it ends; the lock stays.");
        return;
    }
    CEvents::Record(EVENT_KIND::SESSION_END, "Windows ended the session.");
    // Other programs may ask their user about unsaved work now: the curtain steps aside.
    UnlockDesktop();
}

void CControlDlg::Quit() {
    // Told before the end, from this process, which the companion watches.
    if (m_pMessenger) m_nEndCode = m_pMessenger->EndOnPurpose();
    if (IsModal())
        EndDialog(IDCANCEL);
    else
        DestroyWindow();
}

bool CControlDlg::OnTimer(UINT_PTR nId) {
    if (m_desktopLock.OnTimer(nId)) return true;
    if (nId == kWatchdogTimer && !IsCompanionAlive()) StartCompanion();
    if (nId == kGuardTimer) GuardTick();
    return false;
}

void CControlDlg::GuardTick() {
    const LOGGED_IN who = LoggedIn();
    if (m_pMessenger) {
        const std::string strChild = m_pLockDlg ? LockScreen()->LoggedInChild() : std::string();
        m_pMessenger->Beat(CClock::Now(), strChild.c_str(), m_clockGuard.Zone().c_str());
    }
    // While the Administrator is logged in, the clock and the zone are the parent's to set; a
    // child logged in could have turned the clock, nobody at the lock screen could. A guard
    // service holds the zone itself, and a child's account cannot turn the clock.
    if (who == LOGGED_IN::ADMINISTRATOR || IsGuarded())
        m_clockGuard.Start();
    else
        m_clockGuard.Check(who == LOGGED_IN::CHILD ? CClockGuard::CHILD : CClockGuard::NOBODY);
    // A child may open a desktop of its own at any moment, locked or not.
    if (IsLocked() || who == LOGGED_IN::CHILD) m_desktopLock.CheckInputDesktop();
}

bool CControlDlg::OnSysCommand(UINT nId, LPARAM) {
    const UINT nCommand = nId & 0xFFF0;
    // While locked the curtain is neither moved, sized, minimised nor closed, by whoever asks;
    // it may only come back (and the screen saver and the monitor's power work as ever).
    if (IsLocked() && nCommand != SC_RESTORE && nCommand != SC_SCREENSAVE && nCommand != SC_MONITORPOWER) return true;
    switch (nCommand) {
        case IDM_ABOUTBOX: {
            CAboutDlg dlg(this);
            dlg.DoModal();
            return true;
        }
        case SC_CLOSE:
            // Alt+F4 on the curtain does nothing.
            return true;
        case SC_MINIMIZE:
            SetAlphaMode(kAlphaInvisible);
            return false;
        case SC_RESTORE:
            // Restored while locked (the lock's own way back from a minimise, or anyone's
            // message), the curtain keeps the lock's background: only a user's window is shown
            // over an invisible one.
            SetAlphaMode(IsLocked() ? m_nLockBackground : kAlphaInvisible);
            ShowWindow(SW_SHOW);
            ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) | WS_EX_APPWINDOW);
            return false;
        default:
            return false;
    }
}

bool CControlDlg::OnPaint() {
    // The curtain paints itself, iconic or not, so that every paint it is sent is validated here.
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    if (hDC && ::IsIconic(m_hWnd)) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hDC));
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        const int x = (rc.right - rc.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (rc.bottom - rc.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(hDC, x, y, m_hIcon);
    }
    ::EndPaint(m_hWnd, &ps);
    return true;
}

bool CControlDlg::OnEraseBkgnd(HDC hDC) {
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    return true;
}

void CControlDlg::OnDestroy() {
    // An orderly end: the next start counts no gap.
    if (m_pMessenger) m_pMessenger->Beat(0, "");
    if (m_pLockDlg && m_pLockDlg->m_hWnd) m_pLockDlg->DestroyWindow();  // the object deletes itself
    m_pLockDlg = nullptr;
    UnlockDesktop();
    ::Shell_NotifyIconA(NIM_DELETE, &m_nid);
    if (m_hUser32) ::FreeLibrary(m_hUser32);
    m_hUser32 = nullptr;
    m_pfnSetLayered = nullptr;
    ::UnregisterHotKey(m_hWnd, ID_HOTKEY_SWITCH);
}
