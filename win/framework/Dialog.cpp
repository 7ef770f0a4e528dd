// The dialog procedure that binds dialog objects, and the modal loop.
#include "win/framework/Dialog.h"

#include "win/framework/WinApp.h"

namespace {

// Messages whose result a dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT nMsg) {
    switch (nMsg) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
            return true;
        default:
            return false;
    }
}

}  // namespace

HWND CDialog::OwnerWindow() const {
    if (m_pParent) return m_pParent->m_hWnd;
    return CWinApp::Get() ? CWinApp::Get()->DefaultOwner(this) : nullptr;
}

BOOL CDialog::Create(UINT nIdTemplate, CWnd* pParent) {
    if (nIdTemplate) m_nIdTemplate = nIdTemplate;
    if (pParent) m_pParent = pParent;
    m_bModal = false;
    HWND hWnd = ::CreateDialogParamA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(m_nIdTemplate), OwnerWindow(),
                                     DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

INT_PTR CDialog::DoModal() {
    HWND hOwner = OwnerWindow();
    m_bModal = true;
    m_bEndModal = false;
    m_nModalResult = -1;
    HWND hWnd = ::CreateDialogParamA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(m_nIdTemplate), hOwner, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    if (!hWnd) {
        m_bModal = false;
        return -1;
    }
    const bool bOwnerWasEnabled = hOwner && ::IsWindowEnabled(hOwner);
    if (bOwnerWasEnabled) ::EnableWindow(hOwner, FALSE);
    if (!m_bEndModal && m_hWnd && !::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    while (!m_bEndModal && m_hWnd) {
        if (!CWinApp::PumpMessage()) break;
    }
    // The owner is enabled again before the dialog goes, so that activation returns to it.
    if (bOwnerWasEnabled) ::EnableWindow(hOwner, TRUE);
    if (m_hWnd) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        ::DestroyWindow(m_hWnd);
    }
    if (hOwner && ::IsWindow(hOwner) && ::GetActiveWindow() == nullptr) ::SetActiveWindow(hOwner);
    m_bModal = false;
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    if (m_bModal) {
        m_nModalResult = nResult;
        m_bEndModal = true;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the modal loop
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, nResult);
    }
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // Keyboard navigation (Tab, arrows, Enter, Escape) for this dialog and its controls.
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

bool CDialog::IsReturnOrEscape(const MSG* pMsg) const {
    return pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE) &&
           (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd));
}

HBRUSH CDialog::OnCtlColor(HDC hDC, HWND, UINT nCtlColor) {
    CWinApp* pApp = CWinApp::Get();
    if (!pApp || !pApp->DialogBrush()) return nullptr;
    switch (nCtlColor) {
        case CTLCOLOR_DLG:
        case CTLCOLOR_MSGBOX:
        case CTLCOLOR_STATIC:
        case CTLCOLOR_BTN:
            ::SetTextColor(hDC, pApp->DialogTextColor());
            ::SetBkColor(hDC, pApp->DialogBkColor());
            return pApp->DialogBrush();
        default:
            return nullptr;
    }
}

bool CDialog::HandleDefault(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    // OK and Cancel come as button clicks, from Enter and Escape, and (Cancel) from closing.
    if (nMsg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) return OnOK(), true;
        if (LOWORD(wParam) == IDCANCEL) return OnCancel(), true;
    }
    if (nMsg >= WM_CTLCOLORMSGBOX && nMsg <= WM_CTLCOLORSTATIC) {
        HBRUSH hBrush = OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                   nMsg - WM_CTLCOLORMSGBOX);
        lResult = reinterpret_cast<LRESULT>(hBrush);
        return hBrush != nullptr;
    }
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CDialog* pDlg = nullptr;
    if (nMsg == WM_INITDIALOG) {
        pDlg = reinterpret_cast<CDialog*>(lParam);
        pDlg->Attach(hWnd);
    } else {
        pDlg = static_cast<CDialog*>(FromHandle(hWnd));
    }
    if (!pDlg) return FALSE;
    // No exception may unwind through the system's dialog manager.
    try {
        if (nMsg == WM_INITDIALOG) return pDlg->OnInitDialog();
        if (nMsg == WM_NCDESTROY) {
            pDlg->Detach();
            pDlg->PostNcDestroy();  // may delete the object
            return FALSE;
        }
        LRESULT lResult = 0;
        const bool bHandled =
            pDlg->Dispatch(nMsg, wParam, lParam, lResult) || pDlg->HandleDefault(nMsg, wParam, lParam, lResult);
        if (!bHandled) return FALSE;
        if (ReturnsResultDirectly(nMsg)) return static_cast<INT_PTR>(lResult);
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, lResult);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}
