// Binding of objects to windows through a window property, and the message routing.
#include "win/framework/Wnd.h"

#include <exception>
#include <vector>

namespace {
const char kObjectProp[] = "Quenby.CWnd";
// The control's own procedure is kept on the window too, so that a message arriving after the
// object let go still reaches it.
const char kSuperProp[] = "Quenby.Super";
}  // namespace

CWnd::~CWnd() {
    // A subclassed control belongs to its dialog: it gets its procedure back and lives on.
    if (m_pfnSuper) {
        UnsubclassWindow();
        return;
    }
    // An object that dies before its window must not leave the window pointing at it.
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        HWND hWnd = m_hWnd;
        Detach();
        ::DestroyWindow(hWnd);
    }
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    return hWnd ? static_cast<CWnd*>(::GetPropA(hWnd, kObjectProp)) : nullptr;
}

void CWnd::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    ::SetPropA(hWnd, kObjectProp, this);
}

void CWnd::Detach() {
    if (m_hWnd) ::RemovePropA(m_hWnd, kObjectProp);
    m_hWnd = nullptr;
}

BOOL CWnd::SubclassDlgItem(int nId, CWnd* pParent) {
    HWND hCtl = pParent ? ::GetDlgItem(pParent->m_hWnd, nId) : nullptr;
    return hCtl ? SubclassWindow(hCtl) : FALSE;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (m_hWnd || !hWnd || FromHandle(hWnd)) return FALSE;
    Attach(hWnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    ::SetPropA(hWnd, kSuperProp, reinterpret_cast<HANDLE>(m_pfnSuper));
    PreSubclassWindow();
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    if (!hWnd || !m_pfnSuper) return nullptr;
    if (::IsWindow(hWnd)) {
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        ::RemovePropA(hWnd, kSuperProp);
    }
    m_pfnSuper = nullptr;
    Detach();
    return hWnd;
}

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, nMsg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    auto pfnSuper = reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kSuperProp));
    CWnd* pWnd = FromHandle(hWnd);
    if (!pfnSuper) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    if (!pWnd) return ::CallWindowProcA(pfnSuper, hWnd, nMsg, wParam, lParam);
    if (nMsg == WM_NCDESTROY) {
        pWnd->UnsubclassWindow();
        const LRESULT lResult = ::CallWindowProcA(pfnSuper, hWnd, nMsg, wParam, lParam);
        pWnd->PostNcDestroy();  // may delete the object
        return lResult;
    }
    // No exception may unwind through the system's window code.
    try {
        LRESULT lResult = 0;
        if (pWnd->Dispatch(nMsg, wParam, lParam, lResult)) return lResult;
    } catch (const std::exception& e) {
        // No exception may cross the system's window procedure; the message gets the default
        // handling and the fault leaves a trace for a debugger.
        ::OutputDebugStringA("Quenby: exception in a window procedure: ");
        ::OutputDebugStringA(e.what());
        ::OutputDebugStringA("\n");
    } catch (...) {
        ::OutputDebugStringA("Quenby: unknown exception in a window procedure\n");
    }
    return ::CallWindowProcA(pfnSuper, hWnd, nMsg, wParam, lParam);
}

bool CWnd::ReflectToChild(HWND hParent, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    HWND hCtl = nullptr;
    if (nMsg == WM_DRAWITEM) {
        // The control is named in the structure; wParam is only its id (0 for menus).
        const auto* pDraw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (pDraw && pDraw->CtlType != ODT_MENU) hCtl = pDraw->hwndItem;
    } else if (nMsg >= WM_CTLCOLORMSGBOX && nMsg <= WM_CTLCOLORSTATIC) {
        hCtl = reinterpret_cast<HWND>(lParam);
    } else if (nMsg == WM_COMMAND) {
        hCtl = reinterpret_cast<HWND>(lParam);  // null for menus and accelerators
    }
    if (!hCtl || hCtl == hParent) return false;
    CWnd* pCtl = FromHandle(hCtl);
    return pCtl && pCtl->OnChildNotify(nMsg, wParam, lParam, lResult);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

std::string CWnd::GetDlgItemText(int nId) const {
    HWND hItem = GetDlgItem(nId);
    const int nLength = hItem ? ::GetWindowTextLengthA(hItem) : 0;
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1, '\0');
    if (hItem) ::GetWindowTextA(hItem, buffer.data(), nLength + 1);
    return std::string(buffer.data());
}

std::string CWnd::GetWindowText() const {
    const int nLength = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1, '\0');
    ::GetWindowTextA(m_hWnd, buffer.data(), nLength + 1);
    return std::string(buffer.data());
}

bool CWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
bool CWnd::OnCommand(int, int, HWND) { return false; }
bool CWnd::OnTimer(UINT_PTR) { return false; }
bool CWnd::OnSysCommand(UINT, LPARAM) { return false; }
bool CWnd::OnPaint() { return false; }
bool CWnd::OnEraseBkgnd(HDC) { return false; }

bool CWnd::Dispatch(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    lResult = 0;
    if (OnMessage(nMsg, wParam, lParam, lResult)) return true;
    if (ReflectToChild(m_hWnd, nMsg, wParam, lParam, lResult)) return true;
    switch (nMsg) {
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        case WM_TIMER:
            return OnTimer(wParam);
        case WM_SYSCOMMAND:
            return OnSysCommand(static_cast<UINT>(wParam), lParam);
        case WM_PAINT:
            return OnPaint();
        case WM_ERASEBKGND:
            if (!OnEraseBkgnd(reinterpret_cast<HDC>(wParam))) return false;
            lResult = TRUE;
            return true;
        case WM_DESTROY:
            OnDestroy();
            return false;
        default:
            return false;
    }
}
