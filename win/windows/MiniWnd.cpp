// The mini window: the status strip that stays on top while the status window is out of sight.
#include "win/windows/MiniWnd.h"

#include <commctrl.h>

#include "core/texts/MsgText.h"
#include "resources/resource.h"
#include "win/controls/MemoryDC.h"
#include "win/controls/PaintDC.h"
#include "win/controls/UiFont.h"
#include "win/controls/WinUtilities.h"
#include "win/framework/WinApp.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/StatusWndLink.h"

namespace {

constexpr BYTE kAlpha = 240;
constexpr int kKeepVisible = 15;  // pixels of the strip that stay on the screen

HBITMAP LoadPicture(UINT nId) { return ::LoadBitmapA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(nId)); }

SIZE PictureSize(HBITMAP hBitmap) {
    BITMAP bm{};
    if (hBitmap) ::GetObjectA(hBitmap, sizeof(bm), &bm);
    return SIZE{bm.bmWidth, bm.bmHeight};
}

}  // namespace

CMiniWnd::CMiniWnd(IControllerHost* pHost) : CDialog(IDD_MINI), m_pHost(pHost) {}

CMiniWnd::~CMiniWnd() {
    if (m_hUser32) ::FreeLibrary(m_hUser32);
}

BOOL CMiniWnd::Create() {
    const HWND hWnd = ::CreateDialogParamA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(IDD_MINI), ::GetDesktopWindow(),
                                           DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

BOOL CMiniWnd::OnInitDialog() {
    m_font = CreateUiFont(20, 600, "Arial");
    m_strip.Reset(LoadPicture(IDB_MINI_STRIP));
    m_lockedIcon.Reset(LoadPicture(IDB_MINI_LOCKED));
    m_waitIcon.Reset(LoadPicture(IDB_MINI_WAIT_START));
    m_inUseIcon.Reset(LoadPicture(IDB_MINI_IN_USE));
    m_close.Reset(LoadPicture(IDB_MINI_CLOSE));
    m_closeHot.Reset(LoadPicture(IDB_MINI_CLOSE_HOT));
    if (m_strip.Get()) {
        const SIZE size = PictureSize(m_strip.Get());
        m_nWidth = size.cx;
        m_nHeight = size.cy;
    }

    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    m_hUser32 = ::LoadLibraryA("User32.DLL");
    if (m_hUser32) {
        m_pfnSetLayered = reinterpret_cast<SETLAYERED>(
            reinterpret_cast<void*>(::GetProcAddress(m_hUser32, "SetLayeredWindowAttributes")));
        // Black is the colour key: the strip's corners are not seen; the rest is nearly opaque.
        if (m_pfnSetLayered) m_pfnSetLayered(m_hWnd, RGB(0, 0, 0), kAlpha, LWA_COLORKEY | LWA_ALPHA);
    }
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_nX, m_nY, m_nWidth, m_nHeight, SWP_NOACTIVATE);
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & ~WS_EX_APPWINDOW);
    SetTimer(kHotTimer, 200);
    return FALSE;
}

void CMiniWnd::OnDestroy() {
    KillTimer(kHotTimer);
    if (m_hTip) ::DestroyWindow(m_hTip);
    m_hTip = nullptr;
}

void CMiniWnd::PostNcDestroy() {
    if (m_hUser32) ::FreeLibrary(m_hUser32);
    m_hUser32 = nullptr;
    delete this;
}

void CMiniWnd::SetStatus(int nKind, const std::string& strText) {
    m_nIconKind = nKind;
    m_strText = strText;
}

void CMiniWnd::Show() {
    ShowWindow(SW_SHOWNOACTIVATE);
    KeepOnScreen();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_hWnd);
}

void CMiniWnd::Hide() { ShowWindow(SW_HIDE); }

void CMiniWnd::GetPosition(int* pX, int* pY) const {
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    *pX = rc.left;
    *pY = rc.top;
}

POINT CMiniWnd::OnScreenPosition(int x, int y, int w, int h, const RECT& rcArea) {
    const int cx = rcArea.right - rcArea.left, cy = rcArea.bottom - rcArea.top;
    x -= rcArea.left;
    y -= rcArea.top;
    // Far off the area (a position never stored is -99999): the top centre.
    if (x >= cx || x <= -2 * cx) x = (cx - w) / 2;
    if (y >= cy || y <= -2 * cy) y = 0;
    if (x > cx - kKeepVisible) x = cx - kKeepVisible;
    if (x + w < kKeepVisible) x = kKeepVisible - w;
    if (y > cy - kKeepVisible) y = cy - kKeepVisible;
    if (y + h < kKeepVisible) y = kKeepVisible - h;
    return POINT{rcArea.left + x, rcArea.top + y};
}

void CMiniWnd::KeepOnScreen() {
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    // A strip on no monitor (never placed, or its monitor was taken away) goes to the primary one.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoA(::MonitorFromRect(&rc, MONITOR_DEFAULTTOPRIMARY), &monitor))
        monitor.rcWork = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const POINT pt = OnScreenPosition(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, monitor.rcWork);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------------------------
// Painting

bool CMiniWnd::OnPaint() {
    const CPaintDC dc(m_hWnd);
    Paint(dc.Get());
    return true;
}

HBITMAP CMiniWnd::IconOf(int nKind) const {
    switch (nKind) {
        case LOCK_UNTIL_START: return m_waitIcon.Get();
        case LOCK_IN_USE: return m_inUseIcon.Get();
        default: return m_lockedIcon.Get();
    }
}

void CMiniWnd::Paint(HDC hDC) {
    const CMemoryDC canvas(hDC, m_nWidth, m_nHeight);
    const HDC hMem = canvas.Get();
    StretchBitmap(hMem, m_strip.Get(), RECT{0, 0, m_nWidth, m_nHeight});

    const HBITMAP hIcon = IconOf(m_nIconKind);
    const SIZE icon = PictureSize(hIcon);
    DrawTransparentBitmap(hMem, hIcon, 0, (m_nHeight - icon.cy) / 2, RGB(0, 0, 0));

    {
        const CSelectObject font(hMem, m_font.Get());
        ::SetTextColor(hMem, RGB(255, 0, 0));
        ::SetTextAlign(hMem, TA_LEFT | TA_TOP);
        ::SetBkMode(hMem, TRANSPARENT);
        TEXTMETRICA tm{};
        ::GetTextMetricsA(hMem, &tm);
        const int y = (m_nHeight - tm.tmHeight) / 2;
        // A clock text ("mm:ss" starts with 'm' in the template) sits one pixel left and two higher.
        if (!m_strText.empty() && m_strText[0] == 'm')
            ::TextOutA(hMem, icon.cx + 3, y - 2, m_strText.c_str(), static_cast<int>(m_strText.size()));
        else
            ::TextOutA(hMem, icon.cx + 4, y, m_strText.c_str(), static_cast<int>(m_strText.size()));
    }

    const HBITMAP hClose = m_bCloseHot ? m_closeHot.Get() : m_close.Get();
    const SIZE close = PictureSize(hClose);
    const int xClose = m_nWidth - close.cx - 1, yClose = (m_nHeight - close.cy) / 2;
    DrawTransparentBitmap(hMem, hClose, xClose, yClose, RGB(0, 0, 0));
    m_rcClose = RECT{xClose, yClose, xClose + close.cx, yClose + close.cy};

    ::BitBlt(hDC, 0, 0, m_nWidth, m_nHeight, hMem, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// Mouse, tooltip and timer

void CMiniWnd::CreateTip() {
    if (m_hTip) return;
    m_hTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                               CWinApp::ResourceHandle(), nullptr);
    if (!m_hTip) return;
    ::SendMessageA(m_hTip, TTM_ACTIVATE, FALSE, 0);
    ::SendMessageA(m_hTip, TTM_SETMAXTIPWIDTH, 0, 400);
}

void CMiniWnd::SetTipText(const std::string& strText) {
    CreateTip();
    if (!m_hTip) return;
    m_strTip = strText;
    TOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = m_hWnd;
    ti.uId = 1;
    ti.lpszText = const_cast<char*>(m_strTip.c_str());
    ::GetClientRect(m_hWnd, &ti.rect);
    if (!m_bTipHasTool) {
        m_bTipHasTool = ::SendMessageA(m_hTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
    } else {
        ::SendMessageA(m_hTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    ::SendMessageA(m_hTip, TTM_ACTIVATE, TRUE, 0);
}

BOOL CMiniWnd::PreTranslateMessage(MSG* pMsg) {
    CreateTip();
    if (m_hTip) ::SendMessageA(m_hTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
    return CDialog::PreTranslateMessage(pMsg);
}

bool CMiniWnd::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (nMsg) {
        case WM_NCHITTEST: {
            RECT rcWnd{};
            ::GetWindowRect(m_hWnd, &rcWnd);
            const POINT pt{static_cast<short>(LOWORD(lParam)) - rcWnd.left,
                           static_cast<short>(HIWORD(lParam)) - rcWnd.top};
            if (::PtInRect(&m_rcClose, pt)) return false;
            // Everything but the close button drags the strip.
            lResult = HTCAPTION;
            return true;
        }
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorA(nullptr, HIWORD(lParam) == WM_LBUTTONDOWN && m_bOnCaption
                                                   ? MAKEINTRESOURCEA(32646)  // IDC_SIZEALL
                                                   : MAKEINTRESOURCEA(32512)));  // IDC_ARROW
            lResult = TRUE;
            return true;
        case WM_MOUSEMOVE:
            SetTipText(GetMsgText(256));
            m_bOnCaption = 0;
            if (!m_bCloseHot) {
                m_bCloseHot = 1;
                Invalidate(FALSE);
            }
            return true;
        case WM_NCMOUSEMOVE:
            SetTipText(GetMsgText(258));
            m_bOnCaption = 1;
            if (m_bCloseHot) {
                m_bCloseHot = 0;
                Invalidate(FALSE);
            }
            return false;
        case WM_LBUTTONUP:
            if (m_pStatusWnd) m_pStatusWnd->OnMiniClosed();
            Hide();
            return true;
        case WM_NCLBUTTONUP: {
            if (m_pHost && !m_pHost->IsLocked()) {
                m_pHost->RestoreCurtain();
                if (m_pStatusWnd && m_pStatusWnd->StatusWnd()) ::BringWindowToTop(m_pStatusWnd->StatusWnd());
            }
            return false;
        }
        default:
            (void)wParam;
            return false;
    }
}

bool CMiniWnd::OnTimer(UINT_PTR nId) {
    if (nId != kHotTimer) return false;
    POINT pt{};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    if (!::PtInRect(&rc, pt) && m_bCloseHot) {
        m_bCloseHot = 0;
        Invalidate(FALSE);
    }
    return true;
}
