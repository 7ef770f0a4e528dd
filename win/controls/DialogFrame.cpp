// The title band and the look settings of the small dialogs.
#include "win/controls/DialogFrame.h"

#include <algorithm>

#include "resources/resource.h"
#include "win/controls/SkinButton.h"
#include "win/controls/TransLabel.h"
#include "win/controls/WinUtilities.h"
#include "win/framework/WinApp.h"

bool HitTestTitleBand(int x, int y, HWND hWnd, int nBandHeight, BandOrigin origin) {
    RECT rcClient;
    if (!::GetClientRect(hWnd, &rcClient)) return false;
    POINT ptOrigin{0, 0};
    if (origin == BandOrigin::Client) {
        if (!::ClientToScreen(hWnd, &ptOrigin)) return false;
    } else {
        RECT rcWindow;
        if (!::GetWindowRect(hWnd, &rcWindow)) return false;
        ptOrigin = POINT{rcWindow.left, rcWindow.top};
    }
    x -= ptOrigin.x;
    y -= ptOrigin.y;
    return x >= 0 && x < rcClient.right && y >= 0 && y < nBandHeight;
}

void DrawTitleBand(HDC hDC, HWND hWnd) {
    auto hBand = static_cast<HBITMAP>(
        ::LoadImageA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(IDB_TITLE_BAND), IMAGE_BITMAP, 0, 0, 0));
    DrawTitleBand(hDC, hWnd, hBand);
    if (hBand) ::DeleteObject(hBand);
}

void DrawTitleBand(HDC hDC, HWND hWnd, HBITMAP hBand) {
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    HBRUSH hBrush = ::CreateSolidBrush(kDialogBkColor);
    ::FillRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
    BITMAP info{};
    if (!hBand || !::GetObjectA(hBand, sizeof info, &info)) return;
    const int nWidth = rc.right;
    // The right-hand end of the band holds its ornament, so a narrow window keeps that end.
    const int nLeft = std::max<int>(info.bmWidth - nWidth, 0);
    StretchBitmap(hDC, hBand, RECT{0, 0, nWidth, kTitleBandHeight},
                  RECT{nLeft, 0, nLeft + std::min<int>(info.bmWidth, nWidth), std::min<int>(info.bmHeight, kTitleBandHeight)});
}

void ApplyTitleFont(CTransLabel& title) {
    title.SetFont(15);
    title.SetTextColor(RGB(255, 255, 255));
}

void ApplyCloseButtonLook(CSkinButton& button, bool bVariant) {
    button.SetWindowText("");
    button.SetBitmaps(bVariant ? IDB_TITLE_MINIMISE : IDB_TITLE_CLOSE, RGB(255, 255, 255));
    // The picture sits on the band, which shows through around it.
    button.SetAlign(CSkinButton::ALIGN_OVERLAP);
    button.SetTransparent(TRUE);
}

void ApplyActionButtonLook(CSkinButton& button, int nKind) {
    // The face's corners are in the window's background colour: they let the window show.
    button.SetBitmaps(nKind == 0 || nKind == 1 ? IDB_BUTTON_FACE : IDB_BUTTON_FACE_WIDE, kDialogBkColor);
    button.SetAlign(CSkinButton::ALIGN_OVERLAP);
    button.SetTransparent(TRUE);
    button.SetDrawBorder(FALSE);  // the face is its own frame
    button.SetColor(CSkinButton::COLOR_FG_IN, kAccentColor);
    button.SetColor(CSkinButton::COLOR_FG_OUT, RGB(0, 0, 0));
}

void ApplyGreyButtonLook(CSkinButton& button) {
    button.SetColor(CSkinButton::COLOR_BK_IN, RGB(200, 200, 200));
    button.SetColor(CSkinButton::COLOR_FG_IN, RGB(105, 105, 105));
    button.SetColor(CSkinButton::COLOR_BK_OUT, RGB(230, 230, 240));
    button.SetColor(CSkinButton::COLOR_BK_FOCUS, RGB(230, 230, 240));
}
