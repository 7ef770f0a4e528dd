// The Win32 helpers shared by the windows: the auto-run value, foreground forcing and the gradient
// line. (The portable helpers are in Utilities.h.)
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/texts/Utilities.h"

// The name of the auto-run value: the program file's name without folder and extension.
std::string GetRunValueName();

// Registers the program file's full path to start with Windows in the current account's Run key
// and reads it back. 0 when the registry now holds exactly that, else the registry's status
// (ERROR_INVALID_DATA when it reads back something else).
long SetAutoRun();
// Deletes the auto-run value and reads back that it is gone; 0 then (also when there was none),
// else the registry's status.
long RemoveAutoRun();
// Tells the parent, in the program's message box (and the Application event log), that
// registering (bWanted) or removing the auto-run value failed with the status given; nothing for
// a status of 0.
void ReportAutoRunFailure(long nStatus, bool bWanted);
// 1 when the auto-run value exists and names this program file exactly, else 0.
int IsAutoRun();

// Puts a window in the middle of an area of the screen, its size and place in the z-order kept.
void CentreWindow(HWND hWnd, const RECT& rcArea);
// The desktop's work area (the screen without the taskbar), and the whole primary screen.
RECT WorkArea();
RECT DesktopArea();

// Adds a column to a report-view list: its header text and its width in pixels.
void InsertListColumn(HWND hList, int nIndex, const std::string& strText, int nWidth);
// Adds a row at nRow to a report-view list with a text for each column, the first column's first.
void InsertListRow(HWND hList, int nRow, const std::vector<std::string>& cells);

// Copies the source part of a bitmap onto the destination rectangle, stretched (whole colours, no
// blending); nothing when the bitmap is missing.
void StretchBitmap(HDC hDC, HBITMAP hBitmap, const RECT& rcDest, const RECT& rcSource);
// The whole bitmap stretched onto the destination rectangle.
void StretchBitmap(HDC hDC, HBITMAP hBitmap, const RECT& rcDest);

// The whole bitmap at (x, y), one pixel for one, with the pixels of the transparent colour left
// out; nothing when the bitmap is missing.
void DrawTransparentBitmap(HDC hDC, HBITMAP hBitmap, int x, int y, COLORREF crTransparent);

// A horizontal line from x1 to x2 - 1 whose colour runs from c1 towards c2.
void DrawGradientLine(HDC hDC, int x1, int y, int x2, COLORREF c1, COLORREF c2, int nWidth);

// Brings the window to the foreground behind a synthesised Alt key, which lifts the system's
// refusal to let a background program take the foreground.
void ForceForegroundByAlt(HWND hWnd);
// Brings the window to the foreground by joining the input of the foreground window's thread and
// lifting the foreground lock time-out for the duration of the call.
void ForceForegroundByAttach(HWND hWnd);
