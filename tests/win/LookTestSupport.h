// Helpers of the tests of the owner-drawn controls and the dialog frame: a memory canvas to draw
// into and read back, a host dialog for controls, and a closer of message boxes that keeps their
// texts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "PacedCall.h"
#include "TestDialogs.h"
#include "win/framework/Dialog.h"

// A 32-bit bitmap in a memory device context.
class CCanvas {
public:
    CCanvas(int nWidth, int nHeight, COLORREF crFill = RGB(255, 0, 255)) : m_nWidth(nWidth), m_nHeight(nHeight) {
        HDC hScreen = ::GetDC(nullptr);
        m_hDC = ::CreateCompatibleDC(hScreen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = nWidth;
        info.bmiHeader.biHeight = -nHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_hBitmap = ::CreateDIBSection(hScreen, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
        ::ReleaseDC(nullptr, hScreen);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
        Fill(crFill);
    }
    ~CCanvas() {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    HDC DC() const { return m_hDC; }
    void Fill(COLORREF cr) const {
        RECT rc{0, 0, m_nWidth, m_nHeight};
        HBRUSH hBrush = ::CreateSolidBrush(cr);
        ::FillRect(m_hDC, &rc, hBrush);
        ::DeleteObject(hBrush);
    }
    COLORREF Pixel(int x, int y) const {
        ::GdiFlush();
        return ::GetPixel(m_hDC, x, y);
    }
    // How many pixels of the area have exactly this colour.
    int Count(COLORREF cr, RECT rc) const {
        ::GdiFlush();
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) n += ::GetPixel(m_hDC, x, y) == cr;
        return n;
    }
    int Count(COLORREF cr) const { return Count(cr, RECT{0, 0, m_nWidth, m_nHeight}); }

private:
    int m_nWidth, m_nHeight;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
};

inline std::string ColorText(COLORREF cr) {
    return "RGB(" + std::to_string(GetRValue(cr)) + ", " + std::to_string(GetGValue(cr)) + ", " +
           std::to_string(GetBValue(cr)) + ")";
}

// A shown modeless dialog that holds controls under test; it records the commands it receives and
// can erase its background with a left and a right colour.
class CHostDialog : public CDialog {
public:
    CHostDialog() : CDialog(IDD_TEST_PLAIN) {
        Create();
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    }
    ~CHostDialog() override { DestroyWindow(); }

    std::vector<std::pair<int, int>> m_commands;  // (id, notification code)
    COLORREF m_crEraseLeft = CLR_INVALID, m_crEraseRight = CLR_INVALID;
    int m_nEraseSplit = 0;  // client x where the right colour begins

protected:
    bool OnCommand(int nId, int nCode, HWND) override {
        m_commands.emplace_back(nId, nCode);
        return true;
    }
    bool OnEraseBkgnd(HDC hDC) override {
        if (m_crEraseLeft == CLR_INVALID) return false;
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        RECT rcLeft = rc, rcRight = rc;
        rcLeft.right = rcRight.left = m_nEraseSplit;
        HBRUSH hLeft = ::CreateSolidBrush(m_crEraseLeft), hRight = ::CreateSolidBrush(m_crEraseRight);
        ::FillRect(hDC, &rcLeft, hLeft);
        ::FillRect(hDC, &rcRight, hRight);
        ::DeleteObject(hLeft);
        ::DeleteObject(hRight);
        return true;
    }
};

// Answers every message box that opens while the object lives with OK, keeping its text.
class CMessageBoxCloser {
public:
    CMessageBoxCloser() : m_pacer(50, [] {
        if (s_pActive) ::EnumThreadWindows(::GetCurrentThreadId(), CloseBox, 0);
    }) {
        s_pActive = this;
    }
    ~CMessageBoxCloser() { s_pActive = nullptr; }
    CMessageBoxCloser(const CMessageBoxCloser&) = delete;
    CMessageBoxCloser& operator=(const CMessageBoxCloser&) = delete;

    std::vector<std::string> m_texts;
    std::vector<std::string> m_captions;

private:
    static BOOL CALLBACK CloseBox(HWND hWnd, LPARAM) {
        char szClass[32] = {};
        ::GetClassNameA(hWnd, szClass, sizeof szClass);
        HWND hText = ::GetDlgItem(hWnd, 0xFFFF);  // a message box's text
        if (std::string(szClass) != "#32770" || !hText || !::IsWindowVisible(hWnd)) return TRUE;
        char szText[512] = {}, szCaption[128] = {};
        ::GetWindowTextA(hText, szText, sizeof szText);
        ::GetWindowTextA(hWnd, szCaption, sizeof szCaption);
        s_pActive->m_texts.emplace_back(szText);
        s_pActive->m_captions.emplace_back(szCaption);
        ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ::ShowWindow(hWnd, SW_HIDE);  // not seen twice before it goes
        return FALSE;
    }
    inline static CMessageBoxCloser* s_pActive = nullptr;
    CPacedCall m_pacer;  // looks at a steady pace, even while paints keep coming
};
