// The owner-drawn picture button.
#include "win/controls/SkinButton.h"

#include <algorithm>
#include <string>

#include "win/framework/WinApp.h"

namespace {

const int kMargin = 3;      // between the button's edge and its picture or text
const int kGap = 4;         // between picture and text
const DWORD kRopDSna = 0x00220326;  // destination AND NOT source

}  // namespace

CSkinButton::CSkinButton() {
    for (int nSlot = 0; nSlot < COLOR_COUNT; ++nSlot)
        m_colors[nSlot] = ::GetSysColor(nSlot % 2 == 0 ? COLOR_BTNFACE : COLOR_BTNTEXT);
}

CSkinButton::~CSkinButton() {
    for (PICTURE& picture : m_pictures) FreePicture(picture);
}

void CSkinButton::PreSubclassWindow() {
    // The dialog manager makes a button default by changing its type, which would end the owner
    // drawing; the type stays BS_OWNERDRAW and the default state is kept here instead.
    const LONG_PTR nStyle = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    m_bDefault = (nStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, (nStyle & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    Repaint(TRUE);
}

bool CSkinButton::LoadPicture(UINT nId, COLORREF crTrans, PICTURE& picture) {
    auto hImage = static_cast<HBITMAP>(
        ::LoadImageA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(nId), IMAGE_BITMAP, 0, 0, 0));
    if (!hImage) return false;
    BITMAP info{};
    ::GetObjectA(hImage, sizeof info, &info);
    HBITMAP hMask = ::CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr);
    HDC hScreen = ::GetDC(nullptr);
    HDC hImageDC = ::CreateCompatibleDC(hScreen);
    HDC hMaskDC = ::CreateCompatibleDC(hScreen);
    ::ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOldImage = ::SelectObject(hImageDC, hImage);
    HGDIOBJ hOldMask = ::SelectObject(hMaskDC, hMask);
    // A copy to one bit per pixel sets exactly the pixels of the source's background colour.
    ::SetBkColor(hImageDC, crTrans);
    ::BitBlt(hMaskDC, 0, 0, info.bmWidth, info.bmHeight, hImageDC, 0, 0, SRCCOPY);
    // The transparent pixels of the picture turn black, so that OR-ing it leaves the background.
    ::SetBkColor(hImageDC, RGB(255, 255, 255));
    ::SetTextColor(hImageDC, RGB(0, 0, 0));
    ::BitBlt(hImageDC, 0, 0, info.bmWidth, info.bmHeight, hMaskDC, 0, 0, kRopDSna);
    ::SelectObject(hMaskDC, hOldMask);
    ::SelectObject(hImageDC, hOldImage);
    ::DeleteDC(hMaskDC);
    ::DeleteDC(hImageDC);
    picture.hImage = hImage;
    picture.hMask = hMask;
    picture.nWidth = info.bmWidth;
    picture.nHeight = info.bmHeight;
    return true;
}

void CSkinButton::FreePicture(PICTURE& picture) {
    if (picture.hImage) ::DeleteObject(picture.hImage);
    if (picture.hMask) ::DeleteObject(picture.hMask);
    picture = PICTURE{};
}

void CSkinButton::DrawPicture(HDC hDC, const PICTURE& picture, int x, int y) {
    HDC hMem = ::CreateCompatibleDC(hDC);
    const COLORREF crOldText = ::SetTextColor(hDC, RGB(0, 0, 0));
    const COLORREF crOldBk = ::SetBkColor(hDC, RGB(255, 255, 255));
    HGDIOBJ hOld = ::SelectObject(hMem, picture.hMask);
    ::BitBlt(hDC, x, y, picture.nWidth, picture.nHeight, hMem, 0, 0, SRCAND);  // a hole where it is opaque
    ::SelectObject(hMem, picture.hImage);
    ::BitBlt(hDC, x, y, picture.nWidth, picture.nHeight, hMem, 0, 0, SRCPAINT);  // the picture into the hole
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::SetTextColor(hDC, crOldText);
    ::SetBkColor(hDC, crOldBk);
}

BOOL CSkinButton::SetBitmaps(UINT nIdIn, COLORREF crTransIn, UINT nIdOut, COLORREF crTransOut, UINT nIdDisabled,
                             COLORREF crTransDisabled, bool bRepaint) {
    const UINT ids[3] = {nIdIn, nIdOut, nIdDisabled};
    const COLORREF colors[3] = {crTransIn, crTransOut, crTransDisabled};
    PICTURE loaded[3];
    for (int i = 0; i < 3; ++i) {
        if (ids[i] == 0 || LoadPicture(ids[i], colors[i], loaded[i])) continue;
        for (PICTURE& picture : loaded) FreePicture(picture);
        return FALSE;
    }
    for (int i = 0; i < 3; ++i) {
        FreePicture(m_pictures[i]);
        m_pictures[i] = loaded[i];
    }
    Repaint(bRepaint);
    return TRUE;
}

BOOL CSkinButton::SetColor(int nSlot, COLORREF crColor, bool bRepaint) {
    if (nSlot < 0 || nSlot >= COLOR_COUNT) return FALSE;
    m_colors[nSlot] = crColor;
    Repaint(bRepaint);
    return TRUE;
}

COLORREF CSkinButton::GetColor(int nSlot) const {
    return nSlot >= 0 && nSlot < COLOR_COUNT ? m_colors[nSlot] : CLR_INVALID;
}

BOOL CSkinButton::OffsetColor(int nSlot, int nAmount, bool bRepaint) {
    if (nSlot < 0 || nSlot >= COLOR_COUNT || nAmount < -255 || nAmount > 255) return FALSE;
    const int r = GetRValue(m_colors[nSlot]), g = GetGValue(m_colors[nSlot]), b = GetBValue(m_colors[nSlot]);
    // One amount for all three channels keeps the hue; it stops where the first channel would clip.
    const int h = nAmount > 0 ? std::min({nAmount, 255 - r, 255 - g, 255 - b}) : std::max({nAmount, -r, -g, -b});
    m_colors[nSlot] = RGB(r + h, g + h, b + h);
    Repaint(bRepaint);
    return TRUE;
}

BOOL CSkinButton::SetAlign(int nAlign, bool bRepaint) {
    if (nAlign < ALIGN_HORIZ || nAlign > ALIGN_OVERLAP) return FALSE;
    m_nAlign = nAlign;
    Repaint(bRepaint);
    return TRUE;
}

BOOL CSkinButton::SetPressedStyle(int nStyle, bool bRepaint) {
    if (nStyle != PRESSED_LEFTRIGHT && nStyle != PRESSED_TOPBOTTOM) return FALSE;
    m_nPressedStyle = nStyle;
    Repaint(bRepaint);
    return TRUE;
}

void CSkinButton::SetFlat(bool bFlat, bool bRepaint) {
    m_bFlat = bFlat;
    if (!bFlat) m_bHover = false;
    Repaint(bRepaint);
}

void CSkinButton::SetDrawBorder(bool bDrawBorder, bool bRepaint) {
    m_bDrawBorder = bDrawBorder;
    Repaint(bRepaint);
}

void CSkinButton::SetFlatFocus(bool bFlatFocus, bool bRepaint) {
    m_bFlatFocus = bFlatFocus;
    Repaint(bRepaint);
}

void CSkinButton::SetTransparent(bool bTransparent, bool bRepaint) {
    m_bTransparent = bTransparent;
    Repaint(bRepaint);
}

void CSkinButton::SizeToContent() {
    const PICTURE& picture = m_pictures[0];
    if (!m_hWnd || !picture.hImage) return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, picture.nWidth, picture.nHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Repaint(TRUE);
}

void CSkinButton::Repaint(bool bRepaint) const {
    if (bRepaint && m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CSkinButton::EndHover() {
    if (!m_bHover) return;
    m_bHover = false;
    Repaint(TRUE);
}

const CSkinButton::PICTURE* CSkinButton::PictureFor(bool bIn, bool bDisabled) const {
    if (bDisabled && m_pictures[2].hImage) return &m_pictures[2];
    if (!bIn && m_pictures[1].hImage) return &m_pictures[1];
    return m_pictures[0].hImage ? &m_pictures[0] : nullptr;
}

void CSkinButton::CopyParentBackground(HDC hDC, const RECT& rc) const {
    HWND hParent = ::GetParent(m_hWnd);
    const int nWidth = rc.right - rc.left, nHeight = rc.bottom - rc.top;
    if (!hParent || nWidth <= 0 || nHeight <= 0) return;
    RECT rcOnParent;
    ::GetWindowRect(m_hWnd, &rcOnParent);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rcOnParent), 2);
    // The parent erases its background into a bitmap of the button's size, moved so that the
    // button's part lands in it; the button then shows that instead of a colour.
    HDC hMem = ::CreateCompatibleDC(hDC);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hDC, nWidth, nHeight);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    ::SetViewportOrgEx(hMem, -rcOnParent.left, -rcOnParent.top, nullptr);
    ::SendMessageA(hParent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hMem), 0);
    ::SetViewportOrgEx(hMem, 0, 0, nullptr);
    ::BitBlt(hDC, rc.left, rc.top, nWidth, nHeight, hMem, 0, 0, SRCCOPY);
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
}

void CSkinButton::DrawItem(const DRAWITEMSTRUCT& draw) {
    HDC hDC = draw.hDC;
    const bool bPressed = (draw.itemState & ODS_SELECTED) != 0;
    const bool bFocus = (draw.itemState & ODS_FOCUS) != 0;
    const bool bDisabled = (draw.itemState & ODS_DISABLED) != 0;
    const bool bIn = bPressed || (m_bFlat && m_bHover);
    const int nSaved = ::SaveDC(hDC);

    // 1. Background and frame.
    RECT rc = draw.rcItem;
    if (m_bTransparent) {
        CopyParentBackground(hDC, rc);
    } else {
        HBRUSH hBrush = ::CreateSolidBrush(m_colors[bIn ? COLOR_BK_IN : bFocus ? COLOR_BK_FOCUS : COLOR_BK_OUT]);
        ::FillRect(hDC, &rc, hBrush);
        ::DeleteObject(hBrush);
    }
    if (!m_bFlat) {
        if (bFocus || m_bDefault) {
            ::FrameRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
            ::InflateRect(&rc, -1, -1);
        }
        RECT rcEdge = rc;
        ::DrawEdge(hDC, &rcEdge, bPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    } else if (m_bDrawBorder && (bPressed || m_bHover)) {
        RECT rcEdge = rc;
        ::DrawEdge(hDC, &rcEdge, bPressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }

    // 2. Where picture and text go.
    const std::string strText = GetWindowText();
    auto hFont = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    if (hFont) ::SelectObject(hDC, hFont);
    RECT rcContent = rc;
    ::InflateRect(&rcContent, -kMargin, -kMargin);
    const int nContentWidth = rcContent.right - rcContent.left, nContentHeight = rcContent.bottom - rcContent.top;
    const PICTURE* pPicture = PictureFor(bIn, bDisabled);
    const int nPicWidth = pPicture ? pPicture->nWidth : 0, nPicHeight = pPicture ? pPicture->nHeight : 0;
    const int nGap = pPicture && !strText.empty() ? kGap : 0;
    POINT ptPicture{rcContent.left + (nContentWidth - nPicWidth) / 2, rcContent.top + (nContentHeight - nPicHeight) / 2};
    RECT rcText = rcContent;
    switch (m_nAlign) {
        case ALIGN_HORIZ:
            ptPicture.x = rcContent.left;
            rcText.left += nPicWidth + nGap;
            break;
        case ALIGN_HORIZ_RIGHT:
            ptPicture.x = rcContent.right - nPicWidth;
            rcText.right -= nPicWidth + nGap;
            break;
        case ALIGN_VERT: {
            RECT rcMeasure{0, 0, nContentWidth, 0};
            if (!strText.empty())
                ::DrawTextA(hDC, strText.c_str(), -1, &rcMeasure, DT_CALCRECT | DT_CENTER | DT_WORDBREAK);
            const int nGroup = nPicHeight + nGap + (rcMeasure.bottom - rcMeasure.top);
            ptPicture.y = rcContent.top + (nContentHeight - nGroup) / 2;
            rcText.top = ptPicture.y + nPicHeight + nGap;
            rcText.bottom = rcText.top + (rcMeasure.bottom - rcMeasure.top);
            break;
        }
        default:  // overlapping, both centred
            break;
    }
    if (bPressed) {
        const int dx = m_nPressedStyle == PRESSED_LEFTRIGHT ? 1 : 0;
        const int dy = m_nPressedStyle == PRESSED_LEFTRIGHT ? 1 : 2;
        ptPicture.x += dx;
        ptPicture.y += dy;
        ::OffsetRect(&rcText, dx, dy);
    }

    // 3. The picture, its transparent colour showing what lies below.
    if (pPicture) DrawPicture(hDC, *pPicture, ptPicture.x, ptPicture.y);

    // 4. The text, centred in its area (also when it runs over several lines).
    if (!strText.empty()) {
        RECT rcMeasure{0, 0, rcText.right - rcText.left, 0};
        ::DrawTextA(hDC, strText.c_str(), -1, &rcMeasure, DT_CALCRECT | DT_CENTER | DT_WORDBREAK);
        const int nTop = rcText.top + (rcText.bottom - rcText.top - (rcMeasure.bottom - rcMeasure.top)) / 2;
        RECT rcDraw{rcText.left, nTop, rcText.right, nTop + (rcMeasure.bottom - rcMeasure.top)};
        ::SetBkMode(hDC, TRANSPARENT);
        const UINT nFormat = DT_CENTER | DT_WORDBREAK;
        if (bDisabled) {
            RECT rcLight = rcDraw;
            ::OffsetRect(&rcLight, 1, 1);
            ::SetTextColor(hDC, ::GetSysColor(COLOR_3DHILIGHT));
            ::DrawTextA(hDC, strText.c_str(), -1, &rcLight, nFormat);
            ::SetTextColor(hDC, ::GetSysColor(COLOR_3DSHADOW));
        } else {
            ::SetTextColor(hDC, m_colors[bIn ? COLOR_FG_IN : bFocus ? COLOR_FG_FOCUS : COLOR_FG_OUT]);
        }
        ::DrawTextA(hDC, strText.c_str(), -1, &rcDraw, nFormat);
    }

    // 5. The focus rectangle.
    if (bFocus && (!m_bFlat || m_bFlatFocus)) {
        RECT rcFocus = draw.rcItem;
        ::InflateRect(&rcFocus, -3, -3);
        ::SetTextColor(hDC, RGB(0, 0, 0));
        ::SetBkColor(hDC, RGB(255, 255, 255));
        ::DrawFocusRect(hDC, &rcFocus);
    }
    ::RestoreDC(hDC, nSaved);
}

bool CSkinButton::OnChildNotify(UINT nMsg, WPARAM, LPARAM lParam, LRESULT& lResult) {
    if (nMsg != WM_DRAWITEM) return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    lResult = TRUE;
    return true;
}

bool CSkinButton::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (nMsg) {
        case WM_ERASEBKGND:  // the drawing covers every pixel
            lResult = TRUE;
            return true;
        case WM_GETDLGCODE:
            // Tells the dialog manager that this is a push button that can be the default one.
            lResult = DefWindowProc(nMsg, wParam, lParam) | (m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
            return true;
        case BM_SETSTYLE:
            m_bDefault = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
            lResult = DefWindowProc(nMsg, (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, lParam);
            Repaint(TRUE);
            return true;
        case WM_LBUTTONDBLCLK:
            // An owner-drawn button reports a quick second click as a double click; here it is
            // a click like the first.
            lResult = DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);
            return true;
        case WM_MOUSEMOVE:
            if (m_bFlat && !m_bHover) {
                POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                ::ClientToScreen(m_hWnd, &pt);
                if (::WindowFromPoint(pt) == m_hWnd) {
                    m_bHover = true;
                    Repaint(TRUE);
                    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
                    ::TrackMouseEvent(&track);
                }
            }
            return false;
        case WM_MOUSELEAVE:
            EndHover();
            lResult = 0;
            return true;
        case WM_KILLFOCUS:
        case WM_CANCELMODE:
        case WM_ENABLE:
        case WM_ACTIVATE:
            EndHover();
            return false;
        default:
            return false;
    }
}
