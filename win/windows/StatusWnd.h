// The logged-in child's status window: shows the child's session (the status and today's
// settings), ticks it every second, forwards its buttons, and locks and releases the desktop as
// the session's state says.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/rules/StateTexts.h"
#include "core/session/ChildSession.h"
#include "win/controls/GdiObject.h"
#include "win/controls/SkinButton.h"
#include "win/controls/TransLabel.h"
#include "win/framework/Dialog.h"
#include "win/windows/StatusWndLink.h"

class CDataStore;
class IAccountWindowHost;
class IControllerHost;
class CMiniWnd;
class CNoticeSettingsDlg;
class CNoticeWnd;

class CStatusWnd : public CDialog, public IStatusWndLink {
public:
    // The store and the controller's host outlive the window; the host may be null in tests.
    // The lock screen that opened the window (may be null in tests) takes it back when it closes.
    CStatusWnd(CDataStore* pStore, IControllerHost* pHost, IAccountWindowHost* pLockScreen, const std::string& strUser);
    ~CStatusWnd() override;

    // Creates the modeless window (owned by the controller, the main window). The object deletes
    // itself after its window is destroyed; destroying the window ends the login.
    BOOL Create();

    // Tray and hot-key actions.
    void SwitchUser();      // ends the login (the window's destroy path)
    void TakeRest();        // as the "Take a rest" button
    void ShowMiniWindow();  // shows the mini window and ticks its checkbox
    // Writes the day's use and the mini window's place to use.sta now (at the login, at its end,
    // and when Windows ends the session); a failure is shown in the window. False when it failed.
    bool Save();
    // True while the child's settings dialog is open (the hot key then does nothing).
    bool IsInSettings() const;

    // Gives the notice window the child's lead time and sound option from the account.
    void RefreshNoticeSettings() override;
    // The mini window's own close button: the preference is cleared and the checkbox follows.
    void OnMiniClosed() override;
    HWND StatusWnd() const override { return m_hWnd; }

    // Read by tests and by the windows this one owns.
    const CChildSession& Session() const { return m_session; }
    const CUsageContext& Context() const { return m_session.Context(); }
    CNoticeWnd* NoticeWnd() const { return m_pNoticeWnd.get(); }
    CMiniWnd* MiniWnd() const { return m_pMiniWnd; }
    int LockTicks() const { return m_nLockTicks; }
    // True while the last save of the usage failed (the window says so until one succeeds).
    bool SaveFailed() const { return m_bSaveFailed; }
    int ShowsMini() const { return m_bShowMiniWnd; }

    // Client-area layout (pixels).
    static constexpr int kX0 = 18;
    static constexpr int kY0 = 108;
    static constexpr int kBannerHeight = 82;
    static constexpr RECT kStatusBox{kX0 + 72, kY0 + 23, kX0 + 427, kY0 + 83};
    static constexpr RECT kSettingsBox{kX0 + 72, kY0 + 118, kX0 + 427, kY0 + 188};

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    bool OnCommand(int nId, int nCode, HWND hCtl) override;
    bool OnTimer(UINT_PTR nId) override;
    bool OnSysCommand(UINT nId, LPARAM lParam) override;
    bool OnPaint() override;
    bool OnEraseBkgnd(HDC hDC) override;
    void OnCancel() override {}
    void OnOK() override {}
    void OnDestroy() override;
    void PostNcDestroy() override;

private:
    void SetUpControls();
    void CreateMiniWindow();
    // The mini window as it is now: shown or not, and where.
    CChildSession::MINI_PLACE CurrentMini() const;
    // Notes how the last save went; the extra-time line says so while saves fail.
    void ShowSaved(bool bSaved);

    void Tick();
    // After a button: the session's new state shown at once, not a tick later.
    void ShowButtonResult();
    void OnStartToUse();
    void OnSetting();
    void OnAskForMoreTime();
    // Opens a homework program from behind the lock: the one there is, or the one chosen.
    void OnOpenHomework();
    // Runs one of this window's dialogs modally with the tray menu off; the hot key and the lock
    // presentation leave it alone meanwhile. False when the window was destroyed under it: the
    // object is gone then and the caller touches nothing more.
    bool RunOwnDialog(CDialog& dlg, INT_PTR& nResult);

    void RefreshTotal();
    // The state's headline and status line in the status box, the status line (or the headline)
    // in the tray tip.
    void RefreshStatus(const STATE_TEXTS& texts);
    void RefreshSettings();
    void RefreshTitle();
    void RefreshButtons();
    // The program in front with its time, its notice, and the programs the lock lets through.
    void RefreshPrograms();
    void PlaceBoxTexts();
    void LockPresentation();
    void BringToFront();

    CDataStore* m_pStore;
    IControllerHost* m_pHost;
    IAccountWindowHost* m_pLockScreen;
    std::string m_strUser;
    CChildSession m_session;
    int m_nLockTicks = 0;
    bool m_bSaveFailed = false;
    bool m_bInSettings = false;
    bool m_bDeleteAfterSettings = false;
    bool m_bShowMiniWnd = false;
    std::unique_ptr<CNoticeWnd> m_pNoticeWnd;
    CMiniWnd* m_pMiniWnd = nullptr;  // deletes itself with its window
    CDialog* m_pOwnDlg = nullptr;  // the settings or extra-time dialog while it runs

    CSkinButton m_btnClose, m_btnSwitch, m_btnStart, m_btnRest, m_btnSetting, m_btnAskMore, m_btnHomework;
    // The homework programs the child may open now (the button shows while there are some).
    std::vector<PROGRAM_RULE> m_homework;
    CTransLabel m_title, m_statusText, m_settingsText;

    CGdiObject<HBITMAP> m_banner, m_statusPicture, m_settingsPicture;
    CGdiObject<HRGN> m_statusBox, m_settingsBox;
    CGdiObject<HBRUSH> m_bkBrush, m_boxBrush;
    CGdiObject<HFONT> m_captionFont;
};
