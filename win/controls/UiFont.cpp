// The one place the windows' fonts are made.
#include "win/controls/UiFont.h"

CGdiObject<HFONT> CreateUiFont(int nHeight, int nWeight, const char* pszFace) {
    // The texts are in the system's ANSI code page, which the default character set follows.
    return CGdiObject<HFONT>(::CreateFontA(nHeight, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                           DEFAULT_PITCH | FF_SWISS, pszFace));
}
