// The label with its own font and colours.
#include "win/controls/TransLabel.h"

#include <utility>

#include "win/controls/PaintDC.h"

void RedrawBehind(HWND hWnd) {
    HWND hParent = ::GetParent(hWnd);
    if (!hParent) {
        ::InvalidateRect(hWnd, nullptr, TRUE);
        return;
    }
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    ::RedrawWindow(hParent, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

CTransLabel::CTransLabel() : m_font(CreateUiFont(18, 600)) {}

CTransLabel::~CTransLabel() = default;

BOOL CTransLabel::SetFont(int nHeight, int nWeight, const char* pszFace) {
    CGdiObject<HFONT> font = CreateUiFont(nHeight, nWeight, pszFace);
    if (!font.Get()) return FALSE;
    m_font = std::move(font);
    Redraw();
    return TRUE;
}

void CTransLabel::SetTextColor(COLORREF crText) {
    m_crText = crText;
    Redraw();
}

void CTransLabel::SetBkColor(COLORREF crBk) {
    m_crBk = crBk;
    Redraw();
}

void CTransLabel::SetTransparent(bool bTransparent) {
    m_bTransparent = bTransparent;
    Redraw();
}

void CTransLabel::Redraw() const {
    if (!m_hWnd) return;
    if (m_bTransparent)
        RedrawBehind(m_hWnd);
    else
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CTransLabel::Paint(HDC hDC) {
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (!m_bTransparent) {
        const CGdiObject<HBRUSH> background(::CreateSolidBrush(m_crBk));
        ::FillRect(hDC, &rc, background.Get());
    }
    const std::string strText = GetWindowText();
    const CSelectObject font(hDC, m_font.Get());
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF crOld = ::SetTextColor(hDC, m_crText);
    ::DrawTextA(hDC, strText.c_str(), -1, &rc, DT_WORDBREAK | DT_NOPREFIX);
    ::SetTextColor(hDC, crOld);
    ::SetBkMode(hDC, nOldMode);
}

bool CTransLabel::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (nMsg) {
        case WM_ERASEBKGND:
            lResult = TRUE;
            return true;
        case WM_PAINT: {
            const CPaintDC dc(m_hWnd);
            Paint(dc.Get());
            return true;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return true;
        case WM_SETTEXT:
            // Without a background of its own the old text would stay under the new one.
            lResult = DefWindowProc(nMsg, wParam, lParam);
            Redraw();
            return true;
        default:
            return false;
    }
}

bool CTransLabel::OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM, LRESULT& lResult) {
    if (nMsg != WM_CTLCOLORSTATIC) return false;
    auto hDC = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(hDC, m_crText);
    ::SetBkMode(hDC, TRANSPARENT);
    lResult = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    return true;
}
