// The label with its own font and colours.
#include "win/controls/TransLabel.h"

#include <cstring>

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

CTransLabel::CTransLabel() {
    m_logFont.lfHeight = 18;
    m_logFont.lfWeight = 600;
    m_logFont.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(m_logFont.lfFaceName, "Tahoma");
    m_hFont = ::CreateFontIndirectA(&m_logFont);
}

CTransLabel::~CTransLabel() {
    if (m_hFont) ::DeleteObject(m_hFont);
}

BOOL CTransLabel::SetFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                          BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                          BYTE nQuality, BYTE nPitchAndFamily, const char* pszFaceName) {
    HFONT hFont = ::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
                                nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, pszFaceName);
    if (!hFont) return FALSE;
    if (m_hFont) ::DeleteObject(m_hFont);
    m_hFont = hFont;
    ::GetObjectA(hFont, sizeof m_logFont, &m_logFont);
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
        HBRUSH hBrush = ::CreateSolidBrush(m_crBk);
        ::FillRect(hDC, &rc, hBrush);
        ::DeleteObject(hBrush);
    }
    const std::string strText = GetWindowText();
    HGDIOBJ hOldFont = ::SelectObject(hDC, m_hFont);
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF crOld = ::SetTextColor(hDC, m_crText);
    ::DrawTextA(hDC, strText.c_str(), -1, &rc, DT_WORDBREAK | DT_NOPREFIX);
    ::SetTextColor(hDC, crOld);
    ::SetBkMode(hDC, nOldMode);
    ::SelectObject(hDC, hOldFont);
}

bool CTransLabel::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (nMsg) {
        case WM_ERASEBKGND:
            lResult = TRUE;
            return true;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hDC = ::BeginPaint(m_hWnd, &ps);
            Paint(hDC);
            ::EndPaint(m_hWnd, &ps);
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
