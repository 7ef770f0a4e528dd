// The flat combo box: the system paints it, then the frame lines go over its edges.
#include "win/controls/FlatCombo.h"

namespace {

void Line(HDC hDC, int x1, int y1, int x2, int y2) {
    ::MoveToEx(hDC, x1, y1, nullptr);
    ::LineTo(hDC, x2, y2);
}

}  // namespace

CFlatCombo::CFlatCombo()
    : m_hGreyPen(::CreatePen(PS_SOLID, 1, RGB(128, 128, 128))), m_hWhitePen(::CreatePen(PS_SOLID, 1, RGB(255, 255, 255))) {}

CFlatCombo::~CFlatCombo() {
    ::DeleteObject(m_hGreyPen);
    ::DeleteObject(m_hWhitePen);
}

void CFlatCombo::DrawFrame(HDC hDC, int W, int H, POINT ptClient, int w, int h) const {
    HGDIOBJ hOld = ::SelectObject(hDC, m_hGreyPen);
    // The outer frame, in window coordinates: grey on top and left and one in from the bottom
    // and right, white on the bottom and right edges and one in from the top and left.
    Line(hDC, 0, 0, W, 0);
    Line(hDC, 0, 0, 0, H);
    Line(hDC, 0, H - 2, W - 1, H - 2);
    Line(hDC, W - 2, 0, W - 2, H - 1);
    ::SelectObject(hDC, m_hWhitePen);
    Line(hDC, 0, H - 1, W, H - 1);
    Line(hDC, W - 1, 0, W - 1, H);
    Line(hDC, 1, 1, W - 2, 1);
    Line(hDC, 1, 1, 1, H - 2);

    // The drop-down button's frame, in client coordinates.
    const int x0 = ptClient.x, y0 = ptClient.y;
    ::SelectObject(hDC, m_hGreyPen);
    Line(hDC, x0 + w - 18, y0 + 2, x0 + w - 3, y0 + 2);
    Line(hDC, x0 + w - 18, y0 + 2, x0 + w - 18, y0 + h - 3);
    Line(hDC, x0 + w - 18, y0 + h - 4, x0 + w - 3, y0 + h - 4);
    Line(hDC, x0 + w - 4, y0 + 2, x0 + w - 4, y0 + h - 3);
    ::SelectObject(hDC, m_hWhitePen);
    Line(hDC, x0 + w - 18, y0 + h - 3, x0 + w - 3, y0 + h - 3);
    Line(hDC, x0 + w - 3, y0 + 2, x0 + w - 3, y0 + h - 3);
    Line(hDC, x0 + w - 17, y0 + 3, x0 + w - 3, y0 + 3);
    Line(hDC, x0 + w - 17, y0 + 3, x0 + w - 17, y0 + h - 3);
    ::SelectObject(hDC, hOld);
}

bool CFlatCombo::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (nMsg) {
        case WM_NCPAINT:  // the sunken frame would show through; the lines replace it
            lResult = 0;
            return true;
        case WM_PAINT: {
            lResult = DefWindowProc(nMsg, wParam, lParam);
            RECT rcWindow, rcClient;
            ::GetWindowRect(m_hWnd, &rcWindow);
            ::GetClientRect(m_hWnd, &rcClient);
            POINT ptClient{0, 0};
            ::ClientToScreen(m_hWnd, &ptClient);
            ptClient.x -= rcWindow.left;
            ptClient.y -= rcWindow.top;
            HDC hDC = ::GetWindowDC(m_hWnd);
            DrawFrame(hDC, rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top, ptClient, rcClient.right,
                      rcClient.bottom);
            ::ReleaseDC(m_hWnd, hDC);
            return true;
        }
        default:
            return false;
    }
}
