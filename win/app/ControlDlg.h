// The controller: the program's main window for the whole run. It is the black layered curtain
// over the screen, owns the data store, the tray icon, the hot key, the companion watchdog, the
// clock guard, the lock screen and the desktop lock. It asks the lock screen for what it needs of
// the account windows (ILockScreen), and the windows ask it for what they need (IControllerHost).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/rules/ClockGuard.h"
#include "core/rules/LoginThrottle.h"
#include "core/store/DataStore.h"
#include "platform/win32/ScopedHandle.h"
#include "win/app/DesktopLock.h"
#include "win/app/DesktopLockHost.h"
#include "win/framework/Dialog.h"
#include "win/windows/AdminPasswordDlg.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/LockScreen.h"

class CLockDlg;
class CMyMessenger;

// The start of the run, posted once by the controller to itself so that it comes after the modal
// loop began. Acted on once only: the same message from another program does nothing.
constexpr UINT WM_SHOW_LOCK = WM_USER + 1999;
constexpr UINT WM_FIRST_RUN = WM_USER + 2001;
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 123;
constexpr int ID_HOTKEY_SWITCH = 0x9921;
constexpr UINT kTrayIconId = 128;
constexpr UINT_PTR kWatchdogTimer = 1;
constexpr UINT kWatchdogInterval = 100;
// The clock guard's check and the heartbeat, every second for the whole run.
constexpr UINT_PTR kGuardTimer = 2;
constexpr UINT kGuardInterval = 1000;

// Alpha modes of the curtain.
constexpr int kAlphaOpaque = 1;
constexpr int kAlphaHalf = 2;
constexpr int kAlphaInvisible = 3;

// Whether the companion's mutex exists.
int IsCompanionRunning();
// Whether a guard service owns the data and keeps the program running (the installed program).
bool IsGuarded();

class CControlDlg : public CDialog, public IControllerHost, private IDesktopLockHost {
public:
    using SETLAYERED = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

    CControlDlg();
    ~CControlDlg() override;

    // The host the windows are handed.
    bool IsLocked() const override { return m_desktopLock.IsLocked(); }
    void LockDesktop() override { m_desktopLock.Lock(); }
    void UnlockDesktop() override { m_desktopLock.Unlock(); }
    void LetThrough(const std::vector<std::uint32_t>& processes) override { m_desktopLock.LetThrough(processes); }
    bool IsLetThrough(HWND hWnd) const override { return m_desktopLock.IsLetThrough(hWnd); }
    bool IsObscured() override { return m_desktopLock.IsObscured(); }
    bool CurtainCoversScreen() const override { return m_desktopLock.CurtainCoversScreen(); }
    void RestoreCurtain() override;
    void MinimiseCurtain() override { PostMessage(WM_SYSCOMMAND, SC_MINIMIZE); }
    void DropToTray() override;
    void ShowAboveCurtain(HWND hWnd) override;
    void OfferCurtainClose(bool bOffer) override;
    void HoldTrayMenu() override { ++m_nTrayMenuHolds; }
    void ReleaseTrayMenu() override { m_nTrayMenuHolds = m_nTrayMenuHolds > 0 ? m_nTrayMenuHolds - 1 : 0; }
    bool IsTrayMenuEnabled() const { return m_nTrayMenuHolds == 0; }
    // Copies the text (cut to 127 characters) into the tray tip and updates the icon.
    void SetTrayTip(const std::string& strTip) override;
    const NOTIFYICONDATAA& TrayIcon() const { return m_nid; }
    // The alpha mode used while locked from the next lock on.
    void SetLockBackground(int nMode) override { m_nLockBackground = nMode; }
    CLoginThrottle& LoginThrottle() override { return m_loginThrottle; }
    // 1 opaque, 2 half transparent, 3 invisible; the mode already applied makes no system call.
    void SetAlphaMode(int nMode);
    int AlphaMode() const { return m_nAlphaMode; }
    // Replaces the layered-window call (nullptr: none), and forgets the mode applied (tests).
    void UseSetLayered(SETLAYERED pfnSetLayered) { m_pfnSetLayered = pfnSetLayered; }
    void ForgetAlphaMode() { m_nAlphaMode = 0; }
    void SetMessengerState(int nState) override;
    // The companion's messenger, set before the window is created.
    void UseMessenger(CMyMessenger* pMessenger) { m_pMessenger = pMessenger; }
    // Starts the companion through its launcher, so that it is not in this process's tree.
    void StartCompanion();
    // The companion's mutex exists and, with a messenger, the process that stored itself as the
    // companion runs Tessaly.exe of this build (a mutex held by anything else does not count).
    bool IsCompanionAlive();
    // The previous run's last heartbeat (wall-clock time, 0 for none or an orderly end; the child
    // logged in then; the zone it held true; the process that beat), set before the window is
    // created. At start-up a kill's gap is counted as the child's use, and the zone is held true
    // again when that run was killed.
    void UseLastBeat(TIMESECS tBeat, const std::string& strUser, const std::string& strZone, unsigned long nPid) {
        m_tLastBeat = tBeat, m_strLastUser = strUser, m_strLastZone = strZone, m_nLastBeatPid = nPid;
    }
    // The companion restarted the program because it stood still.
    void UseRestartAfterHang(bool bHung) { m_bRestartedHung = bHung; }
    // The one-time value handed to the companion when the program was ended on purpose (0: none):
    // the process exits with it.
    unsigned long EndCode() const { return m_nEndCode; }
    void ShowMainWindow();
    // The lock screen (null before the start's message and after the end); tests reach its windows.
    CLockDlg* GetLockDlg() const { return m_pLockDlg; }
    // The lock screen's window was destroyed by someone else (tests): the pointer is dropped.
    void ForgetLockDlg() { m_pLockDlg = nullptr; }
    // Whose window the lock screen has open.
    LOGGED_IN LoggedIn() const;
    // True when the run started with a child's login still open (the previous run ended uncleanly).
    bool IsResumed() const { return m_bResumed; }

    CDataStore& Store() { return m_store; }
    const CClockGuard& ClockGuard() const { return m_clockGuard; }
    // The desktop lock: the curtain over the screen and the other programs' windows out of reach.
    CDesktopLock& DesktopLock() { return m_desktopLock; }
    // The guard's check, the heartbeat and the input desktop (the guard timer).
    void GuardTick();

    // Ends the program (the Administrator's Quit, the editor's close): the companion is told the
    // end is on purpose, then a modal run ends, a modeless window is destroyed. Alt+F4 and
    // WM_CLOSE on the curtain do nothing.
    void Quit() override;

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    bool OnCommand(int nId, int nCode, HWND hCtl) override;
    bool OnTimer(UINT_PTR nId) override;
    bool OnSysCommand(UINT nId, LPARAM lParam) override;
    bool OnPaint() override;
    bool OnEraseBkgnd(HDC hDC) override;
    void OnDestroy() override;
    // Escape and a close reach the dialog as Cancel, Return as OK, and any program may post
    // either: neither ends the program.
    void OnCancel() override {}
    void OnOK() override {}

private:
    // What the desktop lock needs of the controller.
    HWND CurtainWnd() const override { return m_hWnd; }
    void ShowCurtainLocked(bool bLocked) override { SetAlphaMode(bLocked ? m_nLockBackground : kAlphaInvisible); }

    // The start's own message: the first-run dialog when a first run is pending, else the lock
    // screen; once per run.
    void OnStartMessage();
    // What the controller asks of the lock screen, and all it asks.
    ILockScreen* LockScreen() const;
    void OnShowLock();
    void OnFirstRun();
    // Told that the Windows session ends: the child's use is saved, and the mark lets the next
    // start tell a real end from the same message sent by another program. Only when Windows
    // itself says the session ends are the hidden windows given back.
    void OnEndSession();
    void RecreateLockDlg();
    LRESULT OnTrayNotify(UINT nId, UINT nMouseMsg);
    void ShowTrayMenu();
    void AddTrayIcon();

    // Boxes of ours open now, each holding the tray menu off.
    int m_nTrayMenuHolds = 0;
    bool m_bResumed = false;
    // The start's message is still to come (posted at the start, acted on once).
    bool m_bStartPending = false;
    unsigned long m_nEndCode = 0;
    NOTIFYICONDATAA m_nid{};
    CLockDlg* m_pLockDlg = nullptr;
    CDataStore m_store;
    CAdminPasswordDlg m_dlgFirstRun;
    SETLAYERED m_pfnSetLayered = nullptr;
    HMODULE m_hUser32 = nullptr;
    int m_nAlphaMode = 0;
    int m_nLockBackground = kAlphaHalf;
    CMyMessenger* m_pMessenger = nullptr;
    // The companion last verified, kept open so that the watchdog's check stays cheap.
    unsigned long m_nCompanionPid = 0;
    CKernelHandle m_companion;
    HICON m_hIcon = nullptr;
    // The wait after wrong passwords, shared by the lock screen and the extra-time dialog.
    CLoginThrottle m_loginThrottle;
    UINT m_nTaskbarCreated = 0;
    TIMESECS m_tLastBeat = 0;
    std::string m_strLastUser;
    std::string m_strLastZone;
    unsigned long m_nLastBeatPid = 0;
    bool m_bRestartedHung = false;
    // Undoes a turned clock or a moved zone for the whole run, logged in or not.
    CClockGuard m_clockGuard;
    CDesktopLock m_desktopLock{*this};
};
