// A drop-list combo box drawn with a flat two-tone frame instead of the sunken one.
#pragma once

#include "win/framework/Wnd.h"

class CFlatCombo : public CWnd {
public:
    CFlatCombo();
    ~CFlatCombo() override;

    // Draws the frame lines: nWidth × nHeight is the window, ptClient where its client area
    // begins in window coordinates and nClientWidth × nClientHeight the client area's size.
    void DrawFrame(HDC hWindowDC, int nWidth, int nHeight, POINT ptClient, int nClientWidth,
                   int nClientHeight) const;

protected:
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    HPEN m_hGreyPen = nullptr;
    HPEN m_hWhitePen = nullptr;
};
