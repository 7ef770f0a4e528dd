// The shared frame handlers of the small dialogs.
#include "win/controls/FramedDialog.h"

#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/framework/WinApp.h"

BOOL CFramedDialog::OnInitDialog() {
    m_hBkBrush = ::CreateSolidBrush(kDialogBkColor);
    if (m_title.SubclassDlgItem(IDC_TITLE, this)) ApplyTitleFont(m_title);
    if (m_btnTitleClose.SubclassDlgItem(IDC_TITLE_CLOSE, this)) ApplyCloseButtonLook(m_btnTitleClose, m_bCloseVariant);
    return TRUE;
}

void CFramedDialog::OnDestroy() {
    if (m_hBkBrush) ::DeleteObject(m_hBkBrush);
    m_hBkBrush = nullptr;
}

bool CFramedDialog::OnMessage(UINT nMsg, WPARAM, LPARAM lParam, LRESULT& lResult) {
    if (nMsg != WM_NCHITTEST) return false;
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    if (!HitTestTitleBand(x, y, m_hWnd)) return false;
    lResult = HTCAPTION;
    return true;
}

bool CFramedDialog::OnEraseBkgnd(HDC hDC) {
    DrawTitleBand(hDC, m_hWnd);
    return true;
}

bool CFramedDialog::OnCommand(int nId, int, HWND) {
    if (nId != IDC_TITLE_CLOSE) return false;
    OnTitleClose();
    return true;
}

void CFramedDialog::OnTitleClose() { PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }

HBRUSH CFramedDialog::OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor) {
    if (!m_hBkBrush) return CDialog::OnCtlColor(hDC, hCtl, nCtlColor);
    switch (nCtlColor) {
        case CTLCOLOR_DLG:
        case CTLCOLOR_STATIC:
        case CTLCOLOR_BTN: {
            CWinApp* pApp = CWinApp::Get();
            ::SetTextColor(hDC, pApp ? pApp->DialogTextColor() : RGB(0, 0, 0));
            ::SetBkColor(hDC, kDialogBkColor);
            return m_hBkBrush;
        }
        default:
            return CDialog::OnCtlColor(hDC, hCtl, nCtlColor);
    }
}
