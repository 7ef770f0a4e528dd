// The lock screen and its logins.
#include "win/windows/LockDlg.h"

#include "win/windows/PasswordRefusal.h"

#include "companion/CompanionNames.h"
#include "core/rules/ExtraTime.h"
#include "core/seams/Clock.h"
#include "core/seams/DataFolder.h"
#include "core/store/AdminAccount.h"
#include "core/store/DataStore.h"
#include "core/store/EventLog.h"
#include "core/store/RecordField.h"
#include "core/texts/MsgText.h"
#include "core/texts/Utilities.h"
#include "QuenbyVersion.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/controls/WinUtilities.h"
#include "win/framework/DataExchange.h"
#include "win/framework/WinApp.h"
#include "win/windows/ArrangementDlg.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/DataFolderWarning.h"
#include "win/windows/EventsDlg.h"
#include "win/windows/ExtraTimeDlg.h"
#include "win/windows/StatusWnd.h"
#include "win/windows/TrayMenuPause.h"

CLockDlg::CLockDlg(CDataStore* pStore, IControllerHost* pHost)
    : CDialog(IDD_LOCK), m_pStore(pStore), m_pHost(pHost), m_dlgPower(this) {}

CLockDlg::~CLockDlg() = default;

BOOL CLockDlg::Create() { return CDialog::Create(IDD_LOCK); }

BOOL CLockDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_pSettingsWnd = nullptr;
    m_pStatusWnd = nullptr;
    m_band.Reset(static_cast<HBITMAP>(
        ::LoadImageA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(IDB_LOCK_BAND), IMAGE_BITMAP, 0, 0, 0)));
    m_bkBrush.Reset(::CreateSolidBrush(kDialogBkColor));

    UpdateGroupText();
    SetDlgItemText(IDC_LOCK_ACCOUNT_LABEL, GetMsgText(108));
    SetDlgItemText(IDC_LOCK_PASSWORD_LABEL, GetMsgText(110));
    SetDlgItemText(IDC_LOCK_LOGIN, GetMsgText(216));
    SetDlgItemText(IDC_LOCK_TURN_OFF, GetMsgText(218));
    SetDlgItemText(IDC_TITLE, QUENBY_PRODUCT_TITLE);

    if (m_title.SubclassDlgItem(IDC_TITLE, this)) ApplyTitleFont(m_title);
    m_comboAccount.SubclassDlgItem(IDC_LOCK_ACCOUNT, this);
    m_btnLogin.SubclassDlgItem(IDC_LOCK_LOGIN, this);
    m_btnTurnOff.SubclassDlgItem(IDC_LOCK_TURN_OFF, this);
    for (CSkinButton* pButton : {&m_btnLogin, &m_btnTurnOff}) {
        pButton->SetColor(CSkinButton::COLOR_BK_OUT, kDialogBkColor);
        pButton->SetColor(CSkinButton::COLOR_BK_FOCUS, kDialogBkColor);
        pButton->SetColor(CSkinButton::COLOR_BK_IN, kDialogBkColor);
        pButton->OffsetColor(CSkinButton::COLOR_BK_IN, -20);
        pButton->SetColor(CSkinButton::COLOR_FG_IN, kAccentColor);
    }
    m_btnLogin.SetBitmaps(IDB_LOGIN, RGB(255, 255, 255));
    m_btnTurnOff.SetBitmaps(IDB_LOCK_TURN_OFF, RGB(255, 255, 255));
    if (m_btnAskMore.SubclassDlgItem(IDC_LOCK_ASK_MORE, this)) ApplyActionButtonLook(m_btnAskMore, 2);
    RECT rcWindow{};
    ::GetWindowRect(m_hWnd, &rcWindow);
    m_nBaseHeight = rcWindow.bottom - rcWindow.top;

    DDX_Text(m_hWnd, IDC_LOCK_PASSWORD, m_strPassword, false);
    DDV_MaxChars(m_hWnd, IDC_LOCK_PASSWORD, 31);
    FillAccountCombo();
    // The program never runs on silently when its data cannot be kept.
    if (!CDataFolder::WasWritable()) AddDataFolderWarning(m_hWnd, CDataFolder::Get());
    CentreWindow(m_hWnd, WorkArea());
    BringToFront();
    m_bHidden = 0;
    SetTimer(kFrontTimer, kFrontInterval);
    return TRUE;
}

void CLockDlg::FillAccountCombo() {
    HWND hCombo = GetDlgItem(IDC_LOCK_ACCOUNT);
    ::SendMessageA(hCombo, CB_RESETCONTENT, 0, 0);
    if (m_pStore) {
        const CDataStore& store = *m_pStore;
        const std::string strAdmin = ReadField(store.m_adminAccount.m_admin.szName, sizeof store.m_adminAccount.m_admin.szName);
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strAdmin.c_str()));
        for (int n = 0; n < store.m_childAccounts.GetCount(); ++n)
            ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(store.m_childAccounts.GetName(n).c_str()));
    }
    ::SendMessageA(hCombo, CB_SETCURSEL, 0, 0);
    ClearPassword();
    RefreshAskForMore();
}

std::string CLockDlg::SelectedName() const {
    HWND hCombo = GetDlgItem(IDC_LOCK_ACCOUNT);
    const LRESULT nSel = ::SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
    if (nSel == CB_ERR) return std::string();
    std::string strBuffer(static_cast<size_t>(::SendMessageA(hCombo, CB_GETLBTEXTLEN, nSel, 0)) + 1, '\0');
    ::SendMessageA(hCombo, CB_GETLBTEXT, nSel, reinterpret_cast<LPARAM>(strBuffer.data()));
    return strBuffer.c_str();
}

void CLockDlg::RefreshAskForMore() {
    if (!m_hWnd || m_nBaseHeight == 0) return;
    bool bShow = false;
    const std::string strName = SelectedName();
    if (m_pStore && !strName.empty() && strName != CAdminAccount::kName) {
        m_pStore->m_usageStore.Load();
        bShow = MayAskForMoreTime(m_pStore->m_usageStore.Find(strName), CClock::Now());
    }
    if (bShow == m_bAskMoreShown) return;
    m_bAskMoreShown = bShow;
    RECT rcButton{0, 0, 0, 20};  // the button's row, in dialog units
    ::MapDialogRect(m_hWnd, &rcButton);
    RECT rcWindow{};
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rcWindow.right - rcWindow.left, m_nBaseHeight + (bShow ? rcButton.bottom : 0),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(GetDlgItem(IDC_LOCK_ASK_MORE), bShow ? SW_SHOW : SW_HIDE);
    if (!m_bHidden) CentreWindow(m_hWnd, WorkArea());
}

void CLockDlg::OnAskForMoreTime() {
    const std::string strName = SelectedName();
    if (!m_pStore || !m_bAskMoreShown) return;
    CExtraTimeDlg dlg(this, m_pStore, m_pHost, strName);
    if (dlg.DoModal() != IDOK) return;
    // The child is not logged in: the time waits in extra.tim for the next login of today.
    m_pStore->m_extraTime.Grant(strName, DateKey(CClock::Now()), dlg.m_nSeconds);
    m_pStore->m_adminAccount.EndProof();
}

void CLockDlg::ClearPassword() {
    m_strPassword.clear();
    DDX_Text(m_hWnd, IDC_LOCK_PASSWORD, m_strPassword, false);
}

void CLockDlg::ShowLock(bool bShow) {
    ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    m_bHidden = bShow ? 0 : 1;
}

void CLockDlg::BringToFront() {
    if (IControllerHost* pControl = m_pHost) {
        pControl->RestoreCurtain();
        pControl->LockDesktop();
    }
    CentreWindow(m_hWnd, WorkArea());
    ShowWindow(SW_SHOW);
    ::SetFocus(m_hWnd);
    ::SetForegroundWindow(m_hWnd);
}

void CLockDlg::Login() {
    // A login is made at the lock screen in sight, never while an account's window is open.
    if (m_bHidden) return;
    DDX_Text(m_hWnd, IDC_LOCK_PASSWORD, m_strPassword, true);
    const std::string strName = SelectedName();
    if (!m_pHost || !m_pStore) return;
    CDataStore& store = *m_pStore;

    if (RefuseTryDuringWait(m_hWnd, m_pHost)) {
        ClearPassword();
        return;
    }
    if (strName == CAdminAccount::kName) {
        if (store.m_adminAccount.IsDamaged()) {
            ShowBox(GetMsgText(404), GetMsgText(405));
            ClearPassword();
            return;
        }
        if (store.m_adminAccount.AcceptsPassword(m_strPassword)) return OpenEditor();
    } else if (store.m_childAccounts.AcceptsPassword(strName, m_strPassword)) {
        return OpenStatusWindow(strName);
    }
    OnWrongPassword(strName);
}

void CLockDlg::OnWrongPassword(const std::string& strName) {
    CountWrongPassword(m_pHost, strName, "at the lock screen");
    UpdateGroupText();
    ShowBox(GetMsgText(102), GetMsgText(103));
    ClearPassword();
}

void CLockDlg::OpenEditor() {
    m_pHost->LoginThrottle().OnRight();
    ClearPassword();
    UpdateGroupText();
    ShowLock(FALSE);
    // What happened since the last Administrator login is shown before the editor opens.
    std::vector<EVENT_ENTRY> events = CEventLog::SinceLastLogin();
    CEventLog::Append(CEventLog::kLogin, CAdminAccount::kName, "");
    if (!events.empty()) {
        const CTrayMenuPause trayMenuOff(m_pHost);
        CEventsDlg(std::move(events)).DoModal();
    }
    auto* pEditor = new CArrangementDlg(m_pStore, m_pHost, this);
    m_pSettingsWnd = pEditor;
    if (pEditor->Create()) {
        pEditor->ShowWindow(SW_SHOW);
        // Drawn before the curtain steps aside, so that the desktop does not show through first.
        ::UpdateWindow(pEditor->m_hWnd);
    }
    m_pHost->SetMessengerState(PROGRAM_ADMINISTRATOR);
    m_pHost->UnlockDesktop();
}

void CLockDlg::OpenStatusWindow(const std::string& strName) {
    m_pHost->LoginThrottle().OnRight();
    ClearPassword();
    UpdateGroupText();
    ShowLock(FALSE);
    auto* pStatus = new CStatusWnd(m_pStore, m_pHost, this, strName);
    m_pStatusWnd = pStatus;
    if (pStatus->Create()) pStatus->ShowWindow(SW_SHOW);
    // Releasing the desktop is the status window's decision, by the child's rules.
    m_pHost->SetMessengerState(PROGRAM_CHILD);
}

void CLockDlg::ShowBox(const std::string& strText, const std::string& strCaption) {
    ShowPasswordBox(m_hWnd, m_pHost, strText, strCaption);
}

void CLockDlg::UpdateGroupText() {
    std::string strText = GetMsgText(106);
    if (const int nWait = m_pHost ? m_pHost->LoginThrottle().SecondsLeft(CClock::Now()) : 0)
        strText = FormatMsgText(406, nWait);
    else if (m_pStore && m_pStore->m_adminAccount.IsDamaged())
        strText = GetMsgText(412);
    char szShown[128] = {};
    ::GetDlgItemTextA(m_hWnd, IDC_LOCK_GROUP, szShown, sizeof szShown);
    if (strText != szShown) SetDlgItemText(IDC_LOCK_GROUP, strText);
}

bool CLockDlg::ReleaseAccountWindow(const CWnd* pWnd) {
    if (pWnd && pWnd == m_pSettingsWnd) {
        m_pSettingsWnd = nullptr;
        return true;
    }
    if (pWnd && pWnd == m_pStatusWnd) {
        m_pStatusWnd = nullptr;
        return true;
    }
    return false;
}

void CLockDlg::ReturnFromEditor() {
    FillAccountCombo();
    ShowLock(TRUE);
    BringToFront();
}

void CLockDlg::ReturnFromStatusWindow() {
    if (!m_hWnd) return;
    RefreshAskForMore();  // the child who just left may be locked for the day now
    CentreWindow(m_hWnd, WorkArea());
    ShowLock(TRUE);
    ::SetForegroundWindow(m_hWnd);
}

LOGGED_IN CLockDlg::LoggedIn() const {
    if (m_pStatusWnd && m_pStatusWnd->m_hWnd) return LOGGED_IN::CHILD;
    if (m_pSettingsWnd && m_pSettingsWnd->m_hWnd) return LOGGED_IN::ADMINISTRATOR;
    return LOGGED_IN::NOBODY;
}

std::string CLockDlg::LoggedInChild() const {
    return LoggedIn() == LOGGED_IN::CHILD ? m_pStatusWnd->Session().User() : std::string();
}

void CLockDlg::ShowAccountWindow() {
    switch (LoggedIn()) {
        case LOGGED_IN::CHILD: ::SetForegroundWindow(m_pStatusWnd->m_hWnd); break;
        case LOGGED_IN::ADMINISTRATOR: ::SetForegroundWindow(m_pSettingsWnd->m_hWnd); break;
        case LOGGED_IN::NOBODY: break;
    }
}

void CLockDlg::SwitchUser() {
    switch (LoggedIn()) {
        case LOGGED_IN::CHILD: m_pStatusWnd->SwitchUser(); break;
        case LOGGED_IN::ADMINISTRATOR: m_pSettingsWnd->SwitchUser(); break;
        case LOGGED_IN::NOBODY: break;
    }
}

void CLockDlg::TakeRest() {
    if (LoggedIn() == LOGGED_IN::CHILD) m_pStatusWnd->TakeRest();
}

void CLockDlg::ShowMiniWindow() {
    if (LoggedIn() == LOGGED_IN::CHILD) m_pStatusWnd->ShowMiniWindow();
}

bool CLockDlg::SaveChildsUse() { return LoggedIn() != LOGGED_IN::CHILD || m_pStatusWnd->Save(); }

BOOL CLockDlg::PreTranslateMessage(MSG* pMsg) {
    if (IsReturnOrEscape(pMsg)) {
        // Return logs in; Escape is swallowed.
        if (pMsg->wParam == VK_RETURN) Login();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

bool CLockDlg::OnMessage(UINT nMsg, WPARAM, LPARAM lParam, LRESULT& lResult) {
    if (nMsg != WM_NCHITTEST) return false;
    if (!HitTestTitleBand(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), m_hWnd, kBandHeight,
                          BandOrigin::Client))
        return false;
    lResult = HTCAPTION;
    return true;
}

bool CLockDlg::OnCommand(int nId, int nCode, HWND) {
    // Hidden behind an account's window the lock screen takes no command: whatever another
    // program posts to it then (a login, "Ask for more time", the power dialog) does nothing.
    if (m_bHidden) return true;
    switch (nId) {
        case IDC_LOCK_ACCOUNT:
            if (nCode == CBN_SELCHANGE) {
                ClearPassword();
                RefreshAskForMore();
            }
            return true;
        case IDC_LOCK_ASK_MORE:
            if (nCode == BN_CLICKED) OnAskForMoreTime();
            return true;
        case IDC_LOCK_LOGIN:
            if (nCode == BN_CLICKED) Login();
            return true;
        case IDC_LOCK_TURN_OFF:
            if (nCode == BN_CLICKED) m_dlgPower.DoModal();
            return true;
        case IDC_LOCK_PASSWORD:
            return true;
        default:
            return false;
    }
}

bool CLockDlg::OnSysCommand(UINT nId, LPARAM) {
    // While the desktop is locked no system command reaches the lock screen; SC_CLOSE never does.
    if (m_pHost && m_pHost->IsLocked()) return true;
    return (nId & 0xFFF0) == SC_CLOSE;
}

bool CLockDlg::OnTimer(UINT_PTR nId) {
    if (nId != kFrontTimer) return false;
    if (!m_bHidden) {
        UpdateGroupText();
        KeepInFront();
    }
    return true;
}

void CLockDlg::KeepInFront() {
    IControllerHost* pControl = m_pHost;
    // Every monitor, not just the primary one: a screen added while locked must be covered too.
    if (!pControl || !pControl->CurtainCoversScreen()) BringToFront();
    // The lock screen's own boxes (the wrong-password message, the power dialog, the extra-time
    // dialog and its message) may stand in front.
    HWND hForeground = ::GetForegroundWindow();
    bool bOurs = hForeground == m_hWnd || (hForeground && hForeground == m_dlgPower.m_hWnd);
    for (HWND hOwner = hForeground ? ::GetWindow(hForeground, GW_OWNER) : nullptr; hOwner && !bOurs;
         hOwner = ::GetWindow(hOwner, GW_OWNER))
        bOurs = hOwner == m_hWnd;
    if (!bOurs) BringToFront();
}

bool CLockDlg::OnEraseBkgnd(HDC hDC) {
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    ::FillRect(hDC, &rc, m_bkBrush.Get() ? m_bkBrush.Get() : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    StretchBitmap(hDC, m_band.Get(), RECT{0, 0, rc.right, kBandHeight});
    return true;
}

HBRUSH CLockDlg::OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor) {
    if (!m_bkBrush.Get() || (nCtlColor != CTLCOLOR_DLG && nCtlColor != CTLCOLOR_STATIC && nCtlColor != CTLCOLOR_BTN))
        return CDialog::OnCtlColor(hDC, hCtl, nCtlColor);
    ::SetBkColor(hDC, kDialogBkColor);
    return m_bkBrush.Get();
}

void CLockDlg::OnDestroy() {
    KillTimer(kFrontTimer);
    // The account window dies with the lock screen; its pointer goes first so that it finds
    // nothing to clear.
    if (CArrangementDlg* pEditor = m_pSettingsWnd) {
        m_pSettingsWnd = nullptr;
        if (pEditor->m_hWnd) pEditor->DestroyWindow();
    }
    if (CStatusWnd* pStatus = m_pStatusWnd) {
        m_pStatusWnd = nullptr;
        if (pStatus->m_hWnd) pStatus->DestroyWindow();
    }
}

void CLockDlg::PostNcDestroy() { delete this; }
