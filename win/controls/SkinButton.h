// A push button drawn entirely by the program: pictures with a transparent colour, its own colours
// per state, a flat hover highlight and an optional see-through background.
#pragma once

#include "win/framework/Wnd.h"

class CSkinButton : public CWnd {
public:
    // Colour slots.
    enum { COLOR_BK_IN = 0, COLOR_FG_IN, COLOR_BK_OUT, COLOR_FG_OUT, COLOR_BK_FOCUS, COLOR_FG_FOCUS, COLOR_COUNT };
    // Where the picture goes relative to the text.
    enum { ALIGN_HORIZ = 0, ALIGN_VERT, ALIGN_HORIZ_RIGHT, ALIGN_OVERLAP };
    // How picture and text move while pressed: by (1, 1) or by (0, 2).
    enum { PRESSED_LEFTRIGHT = 0, PRESSED_TOPBOTTOM };

    CSkinButton();
    ~CSkinButton() override;

    // Pictures from the bitmap resources, each with the colour that is not drawn: the first shows
    // while hovered or pressed (and always when alone), the second in the normal state, the third
    // while disabled; 0 for one not given. FALSE (and nothing changed) when one does not load.
    BOOL SetBitmaps(UINT nIdIn, COLORREF crTransIn, UINT nIdOut = 0, COLORREF crTransOut = 0, UINT nIdDisabled = 0,
                    COLORREF crTransDisabled = 0, bool bRepaint = true);
    BOOL SetColor(int nSlot, COLORREF crColor, bool bRepaint = true);
    COLORREF GetColor(int nSlot) const;
    // Lightens (d > 0) or darkens (d < 0) a slot's colour by the same amount on every channel,
    // stopping where the first channel reaches its limit.
    BOOL OffsetColor(int nSlot, int nAmount, bool bRepaint = true);
    BOOL SetAlign(int nAlign, bool bRepaint = true);
    int GetAlign() const { return m_nAlign; }
    BOOL SetPressedStyle(int nStyle, bool bRepaint = true);
    int GetPressedStyle() const { return m_nPressedStyle; }
    void SetFlat(bool bFlat, bool bRepaint = true);
    void SetDrawBorder(bool bDrawBorder, bool bRepaint = true);
    void SetFlatFocus(bool bFlatFocus, bool bRepaint = true);
    void SetTransparent(bool bTransparent = true, bool bRepaint = true);
    // Gives the button the size of its first picture.
    void SizeToContent();

    bool IsHovered() const { return m_bHover; }
    bool IsDefault() const { return m_bDefault; }

    // Paints the button as WM_DRAWITEM asks (the parent reflects the message here).
    void DrawItem(const DRAWITEMSTRUCT& draw);

protected:
    void PreSubclassWindow() override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    bool OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    struct PICTURE {
        HBITMAP hImage = nullptr;  // the picture with its transparent pixels turned black
        HBITMAP hMask = nullptr;   // white where the picture is transparent, black elsewhere
        int nWidth = 0;
        int nHeight = 0;
    };

    static bool LoadPicture(UINT nId, COLORREF crTrans, PICTURE& picture);
    static void FreePicture(PICTURE& picture);
    static void DrawPicture(HDC hDC, const PICTURE& picture, int x, int y);
    const PICTURE* PictureFor(bool bIn, bool bDisabled) const;
    void CopyParentBackground(HDC hDC, const RECT& rc) const;
    void EndHover();
    void Repaint(bool bRepaint) const;

    COLORREF m_colors[COLOR_COUNT];
    PICTURE m_pictures[3];
    bool m_bFlat = true;
    bool m_bDrawBorder = true;
    bool m_bFlatFocus = false;
    bool m_bTransparent = false;
    int m_nAlign = ALIGN_HORIZ;
    int m_nPressedStyle = PRESSED_LEFTRIGHT;
    bool m_bHover = false;
    bool m_bDefault = false;
};
