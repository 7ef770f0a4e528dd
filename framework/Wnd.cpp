// Binding of objects to windows through a window property, and the message routing.
#include "framework/Wnd.h"

#include <vector>

namespace {
const char kObjectProp[] = "Quenby.CWnd";
}

CWnd::~CWnd() {
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
bool CWnd::OnCommand(int, int, HWND) { return false; }
bool CWnd::OnTimer(UINT_PTR) { return false; }
bool CWnd::OnSysCommand(UINT, LPARAM) { return false; }
bool CWnd::OnPaint() { return false; }
bool CWnd::OnEraseBkgnd(HDC) { return false; }

bool CWnd::Dispatch(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    lResult = 0;
    if (OnMessage(nMsg, wParam, lParam, lResult)) return true;
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
