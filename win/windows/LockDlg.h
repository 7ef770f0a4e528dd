// The lock screen: the small login window in front of the curtain whenever nobody is logged in.
// It lists the accounts, checks the password and opens the account's window: the time
// arrangement editor for the Administrator, the status window for a child. The controller asks
// it for what it needs of that window (ILockScreen).
#pragma once

#include <string>

#include "core/rules/LoginThrottle.h"
#include "win/controls/FlatCombo.h"
#include "win/controls/GdiObject.h"
#include "win/controls/SkinButton.h"
#include "win/controls/TransLabel.h"
#include "win/framework/Dialog.h"
#include "win/windows/AccountWindowHost.h"
#include "win/windows/LockScreen.h"
#include "win/windows/PowerDlg.h"

class CArrangementDlg;
class CDataStore;
class IControllerHost;
class CStatusWnd;

class CLockDlg : public CDialog, public IAccountWindowHost, public ILockScreen {
public:
    // The store and the controller's host outlive the window; either may be null in tests.
    CLockDlg(CDataStore* pStore, IControllerHost* pHost);
    ~CLockDlg() override;

    // Creates the modeless window (owned by the controller, the main window), not yet shown. The
    // object deletes itself after its window is destroyed.
    BOOL Create();

    // TRUE shows the window, FALSE hides it while an account's window is open.
    void ShowLock(bool bShow);
    // Restores the curtain, locks the desktop and puts the lock screen in front with the focus.
    void BringToFront();
    // The Administrator first, then the children in list order; the first is selected.
    void FillAccountCombo();
    // Checks the password of the selected account and opens its window.
    void Login();

    // What the account windows it opens need of it.
    bool ReleaseAccountWindow(const CWnd* pWnd) override;
    void ReturnFromEditor() override;
    void ReturnFromStatusWindow() override;

    // What the controller needs of the open account window.
    LOGGED_IN LoggedIn() const override;
    std::string LoggedInChild() const override;
    void ShowAccountWindow() override;
    void SwitchUser() override;
    void TakeRest() override;
    void ShowMiniWindow() override;
    bool SaveChildsUse() override;

    // 1 while hidden behind an open account window.
    bool m_bHidden = false;
    // The windows opened by a login; each clears its pointer here when it is destroyed.
    CArrangementDlg* m_pSettingsWnd = nullptr;
    CStatusWnd* m_pStatusWnd = nullptr;
    // True while "Ask for more time" is offered.
    bool m_bAskMoreShown = false;
    // The text of the password edit.
    std::string m_strPassword;

    // The title band's height in pixels; it drags the window.
    static constexpr int kBandHeight = 25;
    static constexpr UINT_PTR kFrontTimer = 1;
    static constexpr UINT kFrontInterval = 1000;

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    bool OnCommand(int nId, int nCode, HWND hCtl) override;
    bool OnTimer(UINT_PTR nId) override;
    bool OnSysCommand(UINT nId, LPARAM lParam) override;
    bool OnEraseBkgnd(HDC hDC) override;
    HBRUSH OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor) override;
    void OnDestroy() override;
    void PostNcDestroy() override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    void KeepInFront();
    void ClearPassword();
    // The group box says what holds: locked, the wait after a wrong password, a damaged record.
    void UpdateGroupText();
    // A box of the lock screen, with the tray menu off meanwhile.
    void ShowBox(const std::string& strText, const std::string& strCaption);
    void OnWrongPassword(const std::string& strName);
    void OpenEditor();
    void OpenStatusWindow(const std::string& strName);
    // The selected account's name.
    std::string SelectedName() const;
    // Shows "Ask for more time" (the window grown to hold it) for a selected child locked by the
    // day's total or outside the period, hides it otherwise.
    void RefreshAskForMore();
    void OnAskForMoreTime();

    CTransLabel m_title;
    CFlatCombo m_comboAccount;
    CSkinButton m_btnLogin;
    CSkinButton m_btnTurnOff;
    CSkinButton m_btnAskMore;
    int m_nBaseHeight = 0;  // the window's height without "Ask for more time"
    CDataStore* m_pStore;
    IControllerHost* m_pHost;
    CPowerDlg m_dlgPower;
    CGdiObject<HBITMAP> m_band;
    CGdiObject<HBRUSH> m_bkBrush;
};
