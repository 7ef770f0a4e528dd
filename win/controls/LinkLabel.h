// A static text that opens a web address when clicked: hand cursor, the address as its tooltip,
// and its colour telling whether it was visited or is under the mouse.
#pragma once

#include <string>

#include "win/framework/Wnd.h"

class CLinkLabel : public CWnd {
public:
    CLinkLabel();
    ~CLinkLabel() override;

    // The address; when empty at attachment it takes the control's text (and an empty text takes
    // the address).
    void SetURL(const std::string& strUrl);
    const std::string& GetURL() const { return m_strUrl; }
    void SetUnderline(bool bUnderline);
    bool IsVisited() const { return m_bVisited; }
    bool IsHovered() const { return m_bHover; }
    COLORREF CurrentColor() const;
    HWND GetToolTip() const { return m_hToolTip; }

    // What a click does: the shell opens the address, else the command of the ".htm" class runs
    // with it; a failure beeps and says why.
    void OpenLink();

    // The message for a failure code of opening: the heading, an empty line and the reason.
    static std::string ErrorText(int nCode);
    // A registered open command with its "%1" placeholder cut off and the address appended.
    static std::string CommandForAddress(const std::string& strCommand, const std::string& strUrl);

protected:
    void PreSubclassWindow() override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    bool OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    void OnDestroy() override;

private:
    void ApplyFont();
    void SizeToText();
    void LoadHandCursor();
    void AddToolTip();
    void EndHover();

    std::string m_strUrl;
    COLORREF m_crLink = RGB(0, 0, 238);
    COLORREF m_crVisited = RGB(85, 26, 139);
    COLORREF m_crHover;
    bool m_bUnderline = true;
    bool m_bAdjustToFit = true;
    bool m_bVisited = false;
    bool m_bHover = false;
    HFONT m_hFont = nullptr;
    HCURSOR m_hHandCursor = nullptr;
    HWND m_hToolTip = nullptr;
};
