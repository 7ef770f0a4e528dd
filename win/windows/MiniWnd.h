// The mini window: a small always-on-top strip with an icon for the lock kind and a short red
// text (the time left). It is dragged by its body, hidden by its close button, and a double click
// brings the status window back.
#pragma once

#include <string>

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
    // Stores the icon kind (1 locked by a rule, 2 waiting for "Start to use", 3 in use) and the
    // text; painted at the next Show.
    void SetStatus(int nKind, const std::string& strText);
    void Show();
    void Hide();
    void GetPosition(int* pX, int* pY) const;
    // Moves the strip so that at least 15 pixels of it stay on the screen in each direction.
    void KeepOnScreen();
    // Where KeepOnScreen puts a strip of w × h at (x, y) on a screen of cx × cy.
    static POINT OnScreenPosition(int x, int y, int w, int h, int cx, int cy);

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
    void CreateTip();
    void SetTipText(const std::string& strText);

    HFONT m_hFont = nullptr;
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
    std::string m_strText = "Test Info...";
    int m_nIconKind = 1;
    HBITMAP m_hStrip = nullptr;
    IControllerHost* m_pHost;
};
