// The pre-lock notice window.
#include "win/windows/NoticeWnd.h"

#include <algorithm>

#include "core/rules/NoticeRules.h"
#include "core/seams/SystemActions.h"
#include "core/texts/Duration.h"
#include "core/texts/MsgText.h"
#include "platform/win32/ModulePath.h"
#include "resources/resource.h"
#include "win/controls/GdiObject.h"
#include "win/controls/MemoryDC.h"
#include "win/controls/PaintDC.h"
#include "win/controls/UiFont.h"
#include "win/controls/WinUtilities.h"
#include "win/framework/WinApp.h"

namespace {

constexpr unsigned kNoticeText = 190;  // "Screen will be locked after %s"

}  // namespace

CNoticeWnd::CNoticeWnd() : CDialog(IDD_NOTICE) {}

CNoticeWnd::~CNoticeWnd() {
    if (m_hUser32) ::FreeLibrary(m_hUser32);
}

BOOL CNoticeWnd::Create() {
    m_nLeadSeconds = 30;
    m_bSound = 1;
    for (int& nCount : m_counts) nCount = -1;
    m_bShown = m_bBeepSlow = m_bBeepFast = 0;
    const HWND hWnd = ::CreateDialogParamA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(IDD_NOTICE), ::GetDesktopWindow(),
                                           DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

BOOL CNoticeWnd::OnInitDialog() {
    m_nAlpha = kShownAlpha;
    for (std::string& strTemplate : m_templates) strTemplate = GetMsgText(kNoticeText);
    m_font = CreateUiFont(48, FW_HEAVY);
    m_background.Reset(::LoadBitmapA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(IDB_NOTICE_BACKGROUND)));
    if (m_background.Get()) {
        BITMAP bm{};
        ::GetObjectA(m_background.Get(), sizeof(bm), &bm);
        m_nBitmapWidth = bm.bmWidth;
        m_nBitmapHeight = bm.bmHeight;
    }

    // Layered and click-through, without a taskbar button.
    LONG nExStyle = ::GetWindowLongA(m_hWnd, GWL_EXSTYLE);
    nExStyle = (nExStyle | WS_EX_LAYERED | WS_EX_TRANSPARENT) & ~WS_EX_APPWINDOW;
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, nExStyle);

    m_hUser32 = ::LoadLibraryA("User32.DLL");
    if (m_hUser32)
        m_pfnSetLayered = reinterpret_cast<SETLAYERED>(
            reinterpret_cast<void*>(::GetProcAddress(m_hUser32, "SetLayeredWindowAttributes")));
    SetAlpha(0);

    Place();
    ::SetForegroundWindow(m_hWnd);
    m_bShown = 0;
    SetTimer(kSlowTimer, 1000);
    SetTimer(kFastTimer, 300);
    return FALSE;
}

void CNoticeWnd::OnDestroy() {
    KillTimer(kSlowTimer);
    KillTimer(kFastTimer);
}

void CNoticeWnd::Place() {
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN), cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    const NOTICE_SIZE size = ScaledNoticeSize(cxScreen, m_nBitmapWidth, m_nBitmapHeight);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, (cxScreen - size.cx) / 2, (cyScreen - size.cy) / 2, size.cx, size.cy,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CNoticeWnd::SetAlpha(BYTE nAlpha) {
    if (!m_pfnSetLayered) return;
    m_pfnSetLayered(m_hWnd, RGB(0, 0, 0), nAlpha, LWA_COLORKEY | LWA_ALPHA);
    m_nAlphaNow = nAlpha;
}

void CNoticeWnd::Update(const CUsageContext& context) {
    m_countdown.Update(context);
    m_counts[0] = m_countdown.m_nTotalLeft;
    m_counts[1] = m_countdown.m_nRestLeft;
    m_counts[2] = m_countdown.m_nNewDayLeft;
    m_counts[3] = m_countdown.m_nPeriodLeft;
}

void CNoticeWnd::SetProgramNotice(const std::string& strText, int nSeconds) {
    m_strProgramText = strText;
    m_nProgramSeconds = strText.empty() ? -1 : nSeconds;
}

void CNoticeWnd::Refresh(bool bLockWarnings) {
    const int nWinner = bLockWarnings ? FindWarning(m_counts, m_nLeadSeconds) : -1;
    // A program's countdown when it ends first (its program goes before the screen locks); the
    // word about a program just closed only while no lock is near.
    const bool bProgram = m_nProgramSeconds > 0 ? nWinner < 0 || m_nProgramSeconds < m_counts[nWinner]
                                                : m_nProgramSeconds == 0 && nWinner < 0;
    if (nWinner < 0 && !bProgram) {
        Hide();
        return;
    }
    int nSeconds = 0;
    if (bProgram) {
        nSeconds = m_nProgramSeconds;
        m_strText = m_strProgramText;
    } else {
        nSeconds = m_counts[nWinner];
        const std::string& strTemplate = m_templates[nWinner];
        const std::size_t nAt = strTemplate.find("%s");
        m_strText = nAt == std::string::npos
                        ? strTemplate
                        : strTemplate.substr(0, nAt) + FormatSeconds(nSeconds) + strTemplate.substr(nAt + 2);
    }
    if (!m_bShown) SetAlpha(m_nAlpha);
    Place();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_hWnd);
    m_bShown = 1;
    // A program just closed is told once, without a sound; a countdown beeps.
    m_bBeepSlow = nSeconds > 10 ? 1 : 0;
    m_bBeepFast = nSeconds > 0 && nSeconds <= 10 ? 1 : 0;
}

void CNoticeWnd::Hide() {
    if (m_bShown) {
        SetAlpha(0);
        m_bShown = 0;
    }
    m_bBeepSlow = m_bBeepFast = 0;
}

void CNoticeWnd::PlayAlert() const {
    // The sound lies beside the program; a bare name would be looked for in the working folder,
    // which is not the program's when Windows starts the program.
    CSystem::Get().PlayWave(GetModuleDir() + kSoundFile);
}

bool CNoticeWnd::OnTimer(UINT_PTR nId) {
    if (nId != kSlowTimer && nId != kFastTimer) return false;
    if (!m_bSound) return true;
    if ((nId == kSlowTimer && m_bBeepSlow) || (nId == kFastTimer && m_bBeepFast)) PlayAlert();
    return true;
}

bool CNoticeWnd::OnPaint() {
    const CPaintDC dc(m_hWnd);
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);
    // Drawn at the picture's size, then scaled to the window's, which follows the screen's width.
    const CMemoryDC canvas(dc.Get(), m_nBitmapWidth, m_nBitmapHeight);
    StretchBitmap(canvas.Get(), m_background.Get(), RECT{0, 0, m_nBitmapWidth, m_nBitmapHeight});
    {
        const CSelectObject font(canvas.Get(), m_font.Get());
        // A line too wide for the picture (a program's long name) is drawn smaller, whole.
        CGdiObject<HFONT> smaller;
        SIZE size{};
        const int nRoom = m_nBitmapWidth - 24;
        ::GetTextExtentPoint32A(canvas.Get(), m_strText.c_str(), static_cast<int>(m_strText.size()), &size);
        if (size.cx > nRoom && nRoom > 0) smaller = CreateUiFont(std::max(14, static_cast<int>(48LL * nRoom / size.cx)), FW_HEAVY);
        const CSelectObject smallerFont(canvas.Get(), smaller.Get() ? smaller.Get() : m_font.Get());
        ::SetTextColor(canvas.Get(), RGB(255, 0, 0));
        ::SetBkMode(canvas.Get(), TRANSPARENT);
        ::SetTextAlign(canvas.Get(), TA_CENTER | TA_BOTTOM);
        ::TextOutA(canvas.Get(), m_nBitmapWidth / 2, m_nBitmapHeight - 3, m_strText.c_str(),
                   static_cast<int>(m_strText.size()));
    }
    ::SetStretchBltMode(dc.Get(), HALFTONE);
    ::StretchBlt(dc.Get(), 0, 0, rcClient.right, rcClient.bottom, canvas.Get(), 0, 0, m_nBitmapWidth, m_nBitmapHeight,
                 SRCCOPY);
    return true;
}
