// A static text with its own font and text colour over a filled or a see-through background.
#pragma once

#include "win/controls/GdiObject.h"
#include "win/controls/UiFont.h"
#include "win/framework/Wnd.h"

class CTransLabel : public CWnd {
public:
    CTransLabel();
    ~CTransLabel() override;

    // The label's font (a height in pixels, a weight, a face); FALSE, the font unchanged, when the
    // system refuses it.
    BOOL SetFont(int nHeight, int nWeight = FW_NORMAL, const char* pszFace = kUiFace);
    void SetTextColor(COLORREF crText);
    void SetBkColor(COLORREF crBk);
    // With the flag the parent's drawing shows around the text; without it the background colour.
    void SetTransparent(bool bTransparent);

    COLORREF GetTextColor() const { return m_crText; }
    COLORREF GetBkColor() const { return m_crBk; }
    HFONT GetFont() const { return m_font.Get(); }

    // Paints the label into a device context in client coordinates.
    void Paint(HDC hDC);

protected:
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    bool OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    void Redraw() const;

    CGdiObject<HFONT> m_font;
    COLORREF m_crBk = RGB(212, 208, 200);
    COLORREF m_crText = RGB(0, 0, 0);
    bool m_bTransparent = true;
};

// Repaints what lies behind a child window (the parent's part under it and the window itself),
// for controls that draw without a background of their own.
void RedrawBehind(HWND hWnd);
