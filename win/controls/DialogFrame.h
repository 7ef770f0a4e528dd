// The common frame of the program's small dialogs: the painted title band that drags the dialog,
// and the look settings the dialogs give their owner-drawn controls.
#pragma once

#include <windows.h>

class CSkinButton;
class CTransLabel;

// The band covers the top rows of the client area.
constexpr int kTitleBandHeight = 28;
// The windows' background and accent colours.
constexpr COLORREF kDialogBkColor = RGB(240, 245, 250);
constexpr COLORREF kAccentColor = RGB(35, 131, 168);

// Where a band's rows are counted from: the window's top-left corner (the framed dialogs, whose
// one-pixel border is the band's first row) or the client area's (the lock screen, the editor and
// the status window).
enum class BandOrigin { Window, Client };
// True when the screen point lies in the band: the top nBandHeight rows, as wide as the client
// area, counted from the origin. Every window that is dragged by its band asks this.
bool HitTestTitleBand(int x, int y, HWND hWnd, int nBandHeight = kTitleBandHeight,
                      BandOrigin origin = BandOrigin::Window);
// Fills the client area with the background colour and paints the band from bitmap 244: a
// narrower window takes the bitmap's right-hand part, a wider one stretches all of it.
void DrawTitleBand(HDC hDC, HWND hWnd);
// The same with the band's picture given.
void DrawTitleBand(HDC hDC, HWND hWnd, HBITMAP hBand);

// White Tahoma for the title static on the band.
void ApplyTitleFont(CTransLabel& title);
// A picture-only close button on the band; the variant has the smaller picture.
void ApplyCloseButtonLook(CSkinButton& button, bool bVariant = false);
// The face picture behind an OK-type button's text: the normal face for kinds 0 and 1, the wide
// one otherwise; accent text while hovered, black otherwise.
void ApplyActionButtonLook(CSkinButton& button, int nKind);
// A flat grey button.
void ApplyGreyButtonLook(CSkinButton& button);
