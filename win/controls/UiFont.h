// The fonts of the program's windows: a face at a height in pixels and a weight; width, slant,
// character set and rendering as the system chooses.
#pragma once

#include <windows.h>

#include "win/controls/GdiObject.h"

constexpr const char* kUiFace = "Tahoma";

// A font owned by the caller; empty when the system refuses.
CGdiObject<HFONT> CreateUiFont(int nHeight, int nWeight = FW_NORMAL, const char* pszFace = kUiFace);
