// A static text with its own font and text colour over a filled or a see-through background.
#pragma once

#include "win/framework/Wnd.h"

class CTransLabel : public CWnd {
public:
    CTransLabel();
    ~CTransLabel() override;

    // The full font description, as CreateFont takes it.
    BOOL SetFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                 BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                 BYTE nQuality, BYTE nPitchAndFamily, const char* pszFaceName);
    void SetTextColor(COLORREF crText);
    void SetBkColor(COLORREF crBk);
    // With the flag the parent's drawing shows around the text; without it the background colour.
    void SetTransparent(bool bTransparent);

    COLORREF GetTextColor() const { return m_crText; }
    COLORREF GetBkColor() const { return m_crBk; }
    HFONT GetFont() const { return m_hFont; }

    // Paints the label into a device context in client coordinates.
    void Paint(HDC hDC);

protected:
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    bool OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    void Redraw() const;

    LOGFONTA m_logFont{};
    HFONT m_hFont = nullptr;
    COLORREF m_crBk = RGB(212, 208, 200);
    COLORREF m_crText = RGB(0, 0, 0);
    bool m_bTransparent = true;
};

// Repaints what lies behind a child window (the parent's part under it and the window itself),
// for controls that draw without a background of their own.
void RedrawBehind(HWND hWnd);
