// The lock screen and its logins.
#include "dialogs/LockDlg.h"

#include "companion/MyMessenger.h"
#include "dialogs/DataFolderWarning.h"
#include "engine/StatusWnd.h"
#include "framework/DataExchange.h"
#include "framework/WinApp.h"
#include "seams/DataFolder.h"
#include "resources/resource.h"
#include "settings/ArrangementDlg.h"
#include "settings/MsgText.h"
#include "shell/ControlDlg.h"
#include "shell/DialogFrame.h"
#include "shell/Utilities.h"
#include "store/AdminAccount.h"
#include "shell/WinUtilities.h"
#include "QuenbyVersion.h"

namespace {

// Puts a window in the middle of the desktop's work area.
void CentreOnDesktop(HWND hWnd) {
    RECT rcWork{}, rc{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    ::GetWindowRect(hWnd, &rc);
    const int x = rcWork.left + ((rcWork.right - rcWork.left) - (rc.right - rc.left)) / 2;
    const int y = rcWork.top + ((rcWork.bottom - rcWork.top) - (rc.bottom - rc.top)) / 2;
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CLockDlg::CLockDlg() : CDialog(IDD_LOCK), m_dlgPower(this) {}

CLockDlg::~CLockDlg() = default;

BOOL CLockDlg::Create() { return CDialog::Create(IDD_LOCK); }

CControlDlg* CLockDlg::Controller() {
    CWinApp* pApp = CWinApp::Get();
    return pApp ? dynamic_cast<CControlDlg*>(pApp->m_pMainWnd) : nullptr;
}

BOOL CLockDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_pSettingsWnd = nullptr;
    m_pStatusWnd = nullptr;
    m_hBand = static_cast<HBITMAP>(
        ::LoadImageA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(IDB_LOCK_BAND), IMAGE_BITMAP, 0, 0, 0));
    m_hBkBrush = ::CreateSolidBrush(kDialogBkColor);

    SetDlgItemText(IDC_LOCK_GROUP, GetMsgText(106));
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

    DDX_Text(m_hWnd, IDC_LOCK_PASSWORD, m_strPassword, false);
    DDV_MaxChars(m_hWnd, IDC_LOCK_PASSWORD, 31);
    FillAccountCombo();
    // The program never runs on silently when its data cannot be kept.
    if (!CDataFolder::WasWritable()) AddDataFolderWarning(m_hWnd, CDataFolder::Get());
    CentreOnDesktop(m_hWnd);
    BringToFront();
    m_bHidden = 0;
    SetTimer(kFrontTimer, kFrontInterval);
    return TRUE;
}

void CLockDlg::FillAccountCombo() {
    HWND hCombo = GetDlgItem(IDC_LOCK_ACCOUNT);
    ::SendMessageA(hCombo, CB_RESETCONTENT, 0, 0);
    if (CControlDlg* pControl = Controller()) {
        const CDataStore& store = pControl->m_store;
        const std::string strAdmin = ReadField(store.m_adminAccount.m_admin.szName, sizeof store.m_adminAccount.m_admin.szName);
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strAdmin.c_str()));
        for (int n = 0; n < store.m_childAccounts.GetCount(); ++n)
            ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(store.m_childAccounts.GetName(n).c_str()));
    }
    ::SendMessageA(hCombo, CB_SETCURSEL, 0, 0);
    ClearPassword();
}

void CLockDlg::ClearPassword() {
    m_strPassword.clear();
    DDX_Text(m_hWnd, IDC_LOCK_PASSWORD, m_strPassword, false);
}

void CLockDlg::ShowLock(BOOL bShow) {
    ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    m_bHidden = bShow ? 0 : 1;
}

void CLockDlg::BringToFront() {
    if (CControlDlg* pControl = Controller()) {
        if (::IsIconic(pControl->m_hWnd)) pControl->SendMessage(WM_SYSCOMMAND, SC_RESTORE);
        pControl->LockDesktop();
    }
    CentreOnDesktop(m_hWnd);
    ShowWindow(SW_SHOW);
    ::SetFocus(m_hWnd);
    ::SetForegroundWindow(m_hWnd);
}

void CLockDlg::Login() {
    DDX_Text(m_hWnd, IDC_LOCK_PASSWORD, m_strPassword, true);
    std::string strName;
    HWND hCombo = GetDlgItem(IDC_LOCK_ACCOUNT);
    const LRESULT nSel = ::SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
    if (nSel != CB_ERR) {
        std::string strBuffer(static_cast<size_t>(::SendMessageA(hCombo, CB_GETLBTEXTLEN, nSel, 0)) + 1, '\0');
        ::SendMessageA(hCombo, CB_GETLBTEXT, nSel, reinterpret_cast<LPARAM>(strBuffer.data()));
        strName = strBuffer.c_str();
    }
    CControlDlg* pControl = Controller();
    if (!pControl) return;
    CDataStore& store = pControl->m_store;

    if (strName == CAdminAccount::kName) {
        if (store.m_adminAccount.AcceptsPassword(m_strPassword)) {
            ClearPassword();
            ShowLock(FALSE);
            auto* pEditor = new CArrangementDlg(&store);
            m_pSettingsWnd = pEditor;
            if (pEditor->Create()) pEditor->ShowWindow(SW_SHOW);
            if (pControl->m_pMessenger) pControl->m_pMessenger->SetMainProgState(4);
            ::Sleep(200);
            pControl->UnlockDesktop();
            return;
        }
    } else if (m_strPassword == store.m_childAccounts.GetPassword(strName)) {
        ClearPassword();
        ShowLock(FALSE);
        auto* pStatus = new CStatusWnd(&store, strName);
        m_pStatusWnd = pStatus;
        if (pStatus->Create()) pStatus->ShowWindow(SW_SHOW);
        // Releasing the desktop is the status window's decision, by the child's rules.
        if (pControl->m_pMessenger) pControl->m_pMessenger->SetMainProgState(2);
        return;
    }

    pControl->EnableTrayMenu(0);
    ::MessageBoxA(m_hWnd, GetMsgText(102).c_str(), GetMsgText(103).c_str(), MB_OK);
    pControl->EnableTrayMenu(1);
    ClearPassword();
}

void CLockDlg::OnHotKey() {
    if (m_pStatusWnd) {
        if (!m_pStatusWnd->IsInSettings()) m_pStatusWnd->SwitchUser();
    } else if (m_pSettingsWnd) {
        m_pSettingsWnd->SwitchUser();
    }
}

BOOL CLockDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        if (pMsg->wParam == VK_ESCAPE) return TRUE;
        if (pMsg->wParam == VK_RETURN) {
            Login();
            return TRUE;
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

bool CLockDlg::OnMessage(UINT nMsg, WPARAM, LPARAM lParam, LRESULT& lResult) {
    if (nMsg != WM_NCHITTEST) return false;
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ScreenToClient(m_hWnd, &pt);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (pt.x < 0 || pt.x >= rc.right || pt.y < 0 || pt.y >= kBandHeight) return false;
    lResult = HTCAPTION;
    return true;
}

bool CLockDlg::OnCommand(int nId, int nCode, HWND) {
    switch (nId) {
        case IDC_LOCK_ACCOUNT:
            if (nCode == CBN_SELCHANGE) ClearPassword();
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
    CControlDlg* pControl = Controller();
    if (pControl && pControl->IsLocked()) return true;
    return (nId & 0xFFF0) == SC_CLOSE;
}

bool CLockDlg::OnTimer(UINT_PTR nId) {
    if (nId != kFrontTimer) return false;
    if (!m_bHidden) KeepInFront();
    return true;
}

void CLockDlg::KeepInFront() {
    CControlDlg* pControl = Controller();
    RECT rc{};
    const bool bCovers = pControl && ::GetWindowRect(pControl->m_hWnd, &rc) && rc.left <= 0 && rc.top <= 0 &&
                         rc.right >= ::GetSystemMetrics(SM_CXSCREEN) && rc.bottom >= ::GetSystemMetrics(SM_CYSCREEN);
    if (!bCovers) BringToFront();
    // The lock screen's own boxes (the wrong-password message, the power dialog) may stand in front.
    HWND hForeground = ::GetForegroundWindow();
    const bool bOurs = hForeground == m_hWnd || (hForeground && hForeground == m_dlgPower.m_hWnd) ||
                       (hForeground && ::GetWindow(hForeground, GW_OWNER) == m_hWnd);
    if (!bOurs) BringToFront();
}

bool CLockDlg::OnEraseBkgnd(HDC hDC) {
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    ::FillRect(hDC, &rc, m_hBkBrush ? m_hBkBrush : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    StretchBitmap(hDC, m_hBand, RECT{0, 0, rc.right, kBandHeight});
    return true;
}

HBRUSH CLockDlg::OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor) {
    if (!m_hBkBrush || (nCtlColor != CTLCOLOR_DLG && nCtlColor != CTLCOLOR_STATIC && nCtlColor != CTLCOLOR_BTN))
        return CDialog::OnCtlColor(hDC, hCtl, nCtlColor);
    ::SetBkColor(hDC, kDialogBkColor);
    return m_hBkBrush;
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
    if (m_hBand) ::DeleteObject(m_hBand);
    m_hBand = nullptr;
    if (m_hBkBrush) ::DeleteObject(m_hBkBrush);
    m_hBkBrush = nullptr;
}

void CLockDlg::PostNcDestroy() { delete this; }
