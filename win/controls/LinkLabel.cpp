// The hyperlink label.
#include "win/controls/LinkLabel.h"

#include <commctrl.h>

#include <cstdio>

#include "core/seams/SystemActions.h"
#include "win/controls/TransLabel.h"
#include "win/framework/WinApp.h"

CLinkLabel::CLinkLabel() : m_crHover(::GetSysColor(COLOR_HIGHLIGHT)) {}

CLinkLabel::~CLinkLabel() {
    OnDestroy();
    UnsubclassWindow();
    if (m_hFont) ::DeleteObject(m_hFont);
    if (m_hHandCursor) ::DestroyCursor(m_hHandCursor);
}

void CLinkLabel::SetURL(const std::string& strUrl) {
    m_strUrl = strUrl;
    if (!m_hToolTip || !m_hWnd) return;
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = ::GetParent(m_hWnd);
    info.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    info.lpszText = const_cast<char*>(m_strUrl.c_str());
    ::SendMessageA(m_hToolTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CLinkLabel::SetUnderline(bool bUnderline) {
    m_bUnderline = bUnderline;
    if (m_hWnd) {
        ApplyFont();
        RedrawBehind(m_hWnd);
    }
}

COLORREF CLinkLabel::CurrentColor() const { return m_bHover ? m_crHover : m_bVisited ? m_crVisited : m_crLink; }

void CLinkLabel::PreSubclassWindow() {
    // A static reports clicks only with the notify style.
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) | SS_NOTIFY);
    const std::string strText = GetWindowText();
    if (m_strUrl.empty()) m_strUrl = strText;
    if (strText.empty() && !m_strUrl.empty()) SetWindowText(m_strUrl);
    ApplyFont();
    if (m_bAdjustToFit) SizeToText();
    LoadHandCursor();
    AddToolTip();
}

void CLinkLabel::ApplyFont() {
    auto hCurrent = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    LOGFONTA font{};
    ::GetObjectA(hCurrent ? hCurrent : ::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfUnderline = m_bUnderline ? TRUE : FALSE;
    HFONT hFont = ::CreateFontIndirectA(&font);
    if (!hFont) return;
    ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    if (m_hFont) ::DeleteObject(m_hFont);
    m_hFont = hFont;
}

void CLinkLabel::SizeToText() {
    HWND hParent = ::GetParent(m_hWnd);
    const std::string strText = GetWindowText();
    if (!hParent || strText.empty()) return;
    HDC hDC = ::GetDC(m_hWnd);
    HGDIOBJ hOld = ::SelectObject(hDC, m_hFont);
    RECT rcText{0, 0, 0, 0};
    ::DrawTextA(hDC, strText.c_str(), -1, &rcText, DT_CALCRECT | DT_NOPREFIX);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(m_hWnd, hDC);
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    const int nWidth = rcText.right, nHeight = rcText.bottom;
    // The control keeps the side (or the middle) its text is aligned to.
    const LONG_PTR nAlign = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & SS_TYPEMASK;
    int x = rc.left;
    if (nAlign == SS_CENTER)
        x = rc.left + (rc.right - rc.left - nWidth) / 2;
    else if (nAlign == SS_RIGHT)
        x = rc.right - nWidth;
    ::SetWindowPos(m_hWnd, nullptr, x, rc.top, nWidth, nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CLinkLabel::LoadHandCursor() {
    // The hand of the system's help viewer; later systems have one of their own.
    char szPath[MAX_PATH] = {};
    ::GetWindowsDirectoryA(szPath, MAX_PATH);
    std::string strPath = szPath;
    if (!strPath.empty() && strPath.back() != '\\') strPath += '\\';
    strPath += "winhlp32.exe";
    if (HMODULE hModule = ::LoadLibraryExA(strPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        if (HCURSOR hCursor = ::LoadCursorA(hModule, MAKEINTRESOURCEA(106)))
            m_hHandCursor = static_cast<HCURSOR>(::CopyImage(hCursor, IMAGE_CURSOR, 0, 0, 0));
        ::FreeLibrary(hModule);
    }
    if (!m_hHandCursor) {
        if (HCURSOR hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)))  // IDC_HAND
            m_hHandCursor = static_cast<HCURSOR>(::CopyImage(hCursor, IMAGE_CURSOR, 0, 0, 0));
    }
}

void CLinkLabel::AddToolTip() {
    m_hToolTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, ::GetParent(m_hWnd), nullptr,
                                   CWinApp::ResourceHandle(), nullptr);
    if (!m_hToolTip) return;
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = ::GetParent(m_hWnd);
    info.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    info.lpszText = const_cast<char*>(m_strUrl.c_str());
    ::SendMessageA(m_hToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CLinkLabel::OnDestroy() {
    if (m_hToolTip) ::DestroyWindow(m_hToolTip);
    m_hToolTip = nullptr;
}

void CLinkLabel::EndHover() {
    if (!m_bHover) return;
    m_bHover = false;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    RedrawBehind(m_hWnd);
}

std::string CLinkLabel::CommandForAddress(const std::string& strCommand, const std::string& strUrl) {
    std::string strResult = strCommand;
    size_t nCut = strResult.find("\"%1\"");
    if (nCut == std::string::npos) nCut = strResult.find("%1");
    if (nCut != std::string::npos) strResult.erase(nCut);
    return strResult + " " + strUrl;
}

std::string CLinkLabel::ErrorText(int nCode) {
    std::string strReason;
    switch (nCode) {
        case 0: strReason = "The operating system is out\nof memory or resources."; break;
        case 2: strReason = "The specified file was not found."; break;
        case 3: strReason = "The specified path was not found."; break;
        case 5: strReason = "The operating system denied\naccess to the specified file."; break;
        case 8: strReason = "There was not enough memory to complete the operation."; break;
        case 11: strReason = "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."; break;
        case 26: strReason = "A sharing violation occurred. "; break;
        case 27: strReason = "The filename association is\nincomplete or invalid."; break;
        case 28: strReason = "The DDE transaction could not\nbe completed because the request timed out."; break;
        case 29: strReason = "The DDE transaction failed."; break;
        case 30:
            strReason = "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
            break;
        case 31: strReason = "There is no application associated\nwith the given filename extension."; break;
        case 32: strReason = "The specified dynamic-link library was not found."; break;
        default: {
            char szText[64];
            std::snprintf(szText, sizeof szText, "Unknown Error (%d) occurred.", nCode);
            strReason = szText;
            break;
        }
    }
    return "Unable to open hyperlink:\n\n" + strReason;
}

void CLinkLabel::OpenLink() {
    EndHover();  // a message box must not find the mouse captured
    ISystemActions& system = CSystem::Get();
    int nResult = system.ShellOpen(m_strUrl);
    if (nResult <= 32) {
        // No association for the address: run the program registered for web pages.
        const std::string strCommand = system.WebPageCommand();
        if (!strCommand.empty()) nResult = system.RunCommandLine(CommandForAddress(strCommand, m_strUrl));
    }
    if (nResult > 32) {
        m_bVisited = true;
        RedrawBehind(m_hWnd);
        return;
    }
    ::MessageBeep(MB_ICONEXCLAMATION);
    AppMessageBox(ErrorText(nResult), MB_ICONEXCLAMATION | MB_OK);
}

bool CLinkLabel::OnMessage(UINT nMsg, WPARAM, LPARAM lParam, LRESULT& lResult) {
    switch (nMsg) {
        case WM_SETCURSOR:
            if (!m_hHandCursor) return false;
            ::SetCursor(m_hHandCursor);
            lResult = TRUE;
            return true;
        case WM_MOUSEMOVE: {
            if (!m_bHover) {
                m_bHover = true;
                RedrawBehind(m_hWnd);
                ::SetCapture(m_hWnd);  // to see the mouse leave
                return false;
            }
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (!::PtInRect(&rc, pt)) EndHover();
            return false;
        }
        case WM_CAPTURECHANGED:
            if (m_bHover && reinterpret_cast<HWND>(lParam) != m_hWnd) {
                m_bHover = false;
                RedrawBehind(m_hWnd);
            }
            return false;
        default:
            return false;
    }
}

bool CLinkLabel::OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM, LRESULT& lResult) {
    if (nMsg == WM_CTLCOLORSTATIC) {
        auto hDC = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(hDC, CurrentColor());
        ::SetBkMode(hDC, TRANSPARENT);
        lResult = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        return true;
    }
    if (nMsg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        OpenLink();
        lResult = 0;
        return true;
    }
    return false;
}
