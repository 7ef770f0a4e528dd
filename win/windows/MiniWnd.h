// The mini window: a small always-on-top strip with an icon for the lock kind and a short red
// text (the time left). It is dragged by its body, hidden by its close button, and a double click
// brings the status window back.
#pragma once

#include <string>

#include "core/rules/UsageState.h"
#include "win/controls/GdiObject.h"
#include "win/framework/Dialog.h"

class IStatusWndLink;
class IControllerHost;

class CMiniWnd : public CDialog {
public:
    using SETLAYERED = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

    static constexpr UINT_PTR kHotTimer = 1;  // every 200 ms

    // The controller's host (may be null): a click on the frame restores the curtain.
    explicit CMiniWnd(IControllerHost* pHost);
    ~CMiniWnd() override;

    // Creates the modeless window with the desktop window as its parent, at (m_nX, m_nY).
    BOOL Create();
    // Stores the lock kind that chooses the icon (LOCK_BY_RULE, LOCK_UNTIL_START, LOCK_IN_USE)
    // and the text; painted at the next Show.
    void SetStatus(int nKind, const std::string& strText);
    void Show();
    void Hide();
    void GetPosition(int* pX, int* pY) const;
    // Moves the strip so that at least 15 pixels of it stay in the work area of the monitor it is
    // on (the primary monitor's when it is on none).
    void KeepOnScreen();
    // Where KeepOnScreen puts a strip of w × h at (x, y) in a monitor's work area.
    static POINT OnScreenPosition(int x, int y, int w, int h, const RECT& rcArea);

    int GetIconKind() const { return m_nIconKind; }
    const std::string& GetText() const { return m_strText; }
    bool IsCloseHot() const { return m_bCloseHot != 0; }
    const RECT& CloseRect() const { return m_rcClose; }

    int m_nX = 0;
    int m_nY = 0;
    IStatusWndLink* m_pStatusWnd = nullptr;

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    bool OnTimer(UINT_PTR nId) override;
    bool OnPaint() override;
    bool OnEraseBkgnd(HDC) override { return true; }
    void OnOK() override {}
    void OnCancel() override {}
    void OnDestroy() override;
    void PostNcDestroy() override;

private:
    void Paint(HDC hDC);
    HBITMAP IconOf(int nKind) const;
    void CreateTip();
    void SetTipText(const std::string& strText);

    CGdiObject<HFONT> m_font;
    int m_nWidth = 94;
    int m_nHeight = 25;
    bool m_bOnCaption = false;
    HMODULE m_hUser32 = nullptr;
    SETLAYERED m_pfnSetLayered = nullptr;
    RECT m_rcClose{};
    bool m_bCloseHot = false;
    HWND m_hTip = nullptr;
    bool m_bTipHasTool = false;
    std::string m_strTip;
    std::string m_strText;
    int m_nIconKind = LOCK_BY_RULE;
    // The pictures, loaded once: the strip, an icon for each lock kind, the close button plain and hot.
    CGdiObject<HBITMAP> m_strip;
    CGdiObject<HBITMAP> m_lockedIcon, m_waitIcon, m_inUseIcon;
    CGdiObject<HBITMAP> m_close, m_closeHot;
    IControllerHost* m_pHost;
};
