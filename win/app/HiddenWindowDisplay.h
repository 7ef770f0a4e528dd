// Where a hidden-window record meets Win32: window handles and the display settings image.
#pragma once

#include <windows.h>

#include "core/store/HiddenWindowList.h"

// The 32-bit handle value stored for a window, and the window a record names (sign-extended).
std::uint32_t HandleValue(HWND hWnd);
HWND WindowOf(const HIDDEN_WINDOW& window);

// The recorded display settings as a DEVMODEA, and the other way round (dmSize is set to 156).
void GetDisplay(const HIDDEN_WINDOW& window, DEVMODEA& dm);
void SetDisplay(HIDDEN_WINDOW& window, const DEVMODEA& dm);

// A record of a window as it is now, with the display settings current now (zeros with only the
// size set when the system cannot tell them).
HIDDEN_WINDOW MakeHiddenWindow(HWND hWnd, std::int32_t nSource, const RECT& rcWindow, std::int32_t nRestore);
// The same with display settings read earlier (a full-screen window's mode is the one from before
// it was minimised).
HIDDEN_WINDOW MakeHiddenWindow(HWND hWnd, std::int32_t nSource, const RECT& rcWindow, std::int32_t nRestore,
                               const std::uint8_t (&dmDisplay)[156]);
