// A memory device context for a scope, compatible with another one: either holding a bitmap of
// the caller's (a picture to copy from) or a canvas of its own (drawn on off the screen and then
// copied in one step, so that nothing flickers). The selection is put back and the context
// deleted when it goes; its own canvas after that.
#pragma once

#include <windows.h>

#include "win/controls/GdiObject.h"

class CMemoryDC {
public:
    // The caller's bitmap selected; the bitmap stays the caller's.
    CMemoryDC(HDC hCompatible, HBITMAP hBitmap) : m_hDC(::CreateCompatibleDC(hCompatible)) { Select(hBitmap); }
    // A canvas of cx x cy pixels in the format of hCompatible, owned and selected.
    CMemoryDC(HDC hCompatible, int cx, int cy)
        : m_canvas(::CreateCompatibleBitmap(hCompatible, cx, cy)), m_hDC(::CreateCompatibleDC(hCompatible)) {
        Select(m_canvas.Get());
    }
    ~CMemoryDC() {
        if (!m_hDC) return;
        if (m_hOld) ::SelectObject(m_hDC, m_hOld);
        ::DeleteDC(m_hDC);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    HDC Get() const { return m_hDC; }

private:
    void Select(HBITMAP hBitmap) {
        if (m_hDC && hBitmap) m_hOld = ::SelectObject(m_hDC, hBitmap);
    }

    CGdiObject<HBITMAP> m_canvas;  // declared first: deleted after the context let go of it
    HDC m_hDC;
    HGDIOBJ m_hOld = nullptr;
};
