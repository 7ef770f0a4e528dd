// The logged-in child's status window: the tick that drives the child's session, the buttons, the
// lock presentation in front of the curtain, the two text boxes and the end of the login.
#include "win/windows/StatusWnd.h"

#include <cstdio>

#include "core/rules/ExtraTime.h"
#include "core/rules/UsageState.h"
#include "core/store/DataStore.h"
#include "core/texts/MsgText.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/controls/PaintDC.h"
#include "win/controls/UiFont.h"
#include "win/controls/WinUtilities.h"
#include "win/framework/WinApp.h"
#include "win/windows/AccountWindowHost.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/ExtraTimeDlg.h"
#include "win/windows/MiniWnd.h"
#include "win/windows/NoticeSettingsDlg.h"
#include "win/windows/NoticeWnd.h"
#include "win/windows/TrayMenuPause.h"

namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT_PTR kUpkeepTimer = 2;
constexpr COLORREF kBoxColor = RGB(232, 232, 232);
constexpr COLORREF kLineFrom = RGB(88, 116, 203);
constexpr COLORREF kLineTo = RGB(240, 240, 240);
constexpr COLORREF kStatusTextColor = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

HBITMAP LoadPicture(UINT nId) { return ::LoadBitmapA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(nId)); }
HRGN RoundBox(const RECT& rc) { return ::CreateRoundRectRgn(rc.left, rc.top, rc.right, rc.bottom, 10, 10); }

}  // namespace

CStatusWnd::CStatusWnd(CDataStore* pStore, IControllerHost* pHost, IAccountWindowHost* pLockScreen,
                       const std::string& strUser)
    : CDialog(IDD_STATUS), m_pStore(pStore), m_pHost(pHost), m_pLockScreen(pLockScreen), m_strUser(strUser),
      m_session(*pStore, strUser) {}

CStatusWnd::~CStatusWnd() = default;

BOOL CStatusWnd::Create() { return CDialog::Create(IDD_STATUS); }

// ---------------------------------------------------------------------------------------------
// Set-up

BOOL CStatusWnd::OnInitDialog() {
    m_nLockTicks = 0;
    m_bInSettings = m_bShowMiniWnd = 0;
    m_banner.Reset(LoadPicture(IDB_STATUS_BANNER));
    m_statusPicture.Reset(LoadPicture(IDB_STATUS_PICTURE));
    m_settingsPicture.Reset(LoadPicture(IDB_SETTINGS_PICTURE));
    m_statusBox.Reset(RoundBox(kStatusBox));
    m_settingsBox.Reset(RoundBox(kSettingsBox));
    m_bkBrush.Reset(::CreateSolidBrush(kDialogBkColor));
    m_boxBrush.Reset(::CreateSolidBrush(kBoxColor));
    m_captionFont = CreateUiFont(16);

    SetUpControls();
    const bool bStarted = m_session.Start();  // false: the active-user list or the history not written

    RefreshTotal();
    RefreshStatus(Context().Texts());
    RefreshSettings();
    RefreshTitle();
    RefreshButtons();
    RefreshPrograms();
    LockPresentation();

    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    m_pNoticeWnd = std::make_unique<CNoticeWnd>();
    m_pNoticeWnd->Create();
    RefreshNoticeSettings();

    CreateMiniWindow();

    // The first save holds the mini window where it was placed.
    const bool bSaved = Save();
    ShowSaved(bSaved && bStarted);

    SetTimer(kTickTimer, 1000);
    SetTimer(kUpkeepTimer, 500);

    if (IControllerHost* pControl = m_pHost) pControl->OfferCurtainClose(false);
    CentreWindow(m_hWnd, DesktopArea());
    ::SetFocus(m_hWnd);
    if (IControllerHost* pControl = m_pHost) pControl->ShowAboveCurtain(m_hWnd);
    return FALSE;  // the focus was set here
}

void CStatusWnd::SetUpControls() {
    m_btnClose.SubclassDlgItem(IDC_STATUS_CLOSE, this);
    ApplyCloseButtonLook(m_btnClose);
    m_title.SubclassDlgItem(IDC_TITLE, this);
    ApplyTitleFont(m_title);

    struct BUTTON_LOOK {
        CSkinButton* pButton;
        int nId;
        unsigned nText;
        UINT nIdIn;
        UINT nIdOut;
    };
    const BUTTON_LOOK looks[] = {
        {&m_btnSwitch, IDC_STATUS_SWITCH, 220, IDB_SWITCH_USER, 0},
        {&m_btnStart, IDC_STATUS_START, 178, IDB_START_HOT, IDB_START},
        {&m_btnRest, IDC_STATUS_REST, 180, IDB_REST_HOT, IDB_REST},
        {&m_btnSetting, IDC_STATUS_SETTING, 182, IDB_SETTINGS_HOT, IDB_SETTINGS},
    };
    for (const BUTTON_LOOK& look : looks) {
        look.pButton->SubclassDlgItem(look.nId, this);
        look.pButton->SetWindowText(GetMsgText(look.nText));
        look.pButton->SetAlign(CSkinButton::ALIGN_VERT, FALSE);
        look.pButton->SetTransparent(TRUE, FALSE);
        look.pButton->SetDrawBorder(FALSE, FALSE);
        for (int nSlot : {CSkinButton::COLOR_FG_IN, CSkinButton::COLOR_FG_OUT, CSkinButton::COLOR_FG_FOCUS})
            look.pButton->SetColor(nSlot, kWhite, FALSE);
        if (look.nIdOut)
            look.pButton->SetBitmaps(look.nIdIn, kWhite, look.nIdOut, kWhite);
        else
            look.pButton->SetBitmaps(look.nIdIn, kWhite);
    }

    m_statusText.SubclassDlgItem(IDC_STATUS_TEXT, this);
    m_statusText.SetFont(16);
    m_statusText.SetTextColor(kStatusTextColor);
    m_statusText.SetBkColor(kBoxColor);
    m_statusText.SetTransparent(FALSE);
    m_settingsText.SubclassDlgItem(IDC_STATUS_SETTINGS_TEXT, this);
    m_settingsText.SetTextColor(kAccentColor);
    m_settingsText.SetBkColor(kBoxColor);
    m_settingsText.SetTransparent(FALSE);

    SetDlgItemText(IDC_STATUS_MINI_CHECK, GetMsgText(260));
    if (m_btnAskMore.SubclassDlgItem(IDC_STATUS_ASK_MORE, this)) ApplyActionButtonLook(m_btnAskMore, 2);
    if (m_btnHomework.SubclassDlgItem(IDC_STATUS_OPEN_HOMEWORK, this)) ApplyActionButtonLook(m_btnHomework, 2);
}

void CStatusWnd::CreateMiniWindow() {
    const CChildSession::MINI_PLACE place = Context().Mini();
    m_pMiniWnd = new CMiniWnd(m_pHost);
    m_pMiniWnd->m_nX = place.nX;
    m_pMiniWnd->m_nY = place.nY;
    if (!m_pMiniWnd->Create()) {
        delete m_pMiniWnd;
        m_pMiniWnd = nullptr;
        return;
    }
    m_pMiniWnd->SetStatus(Context().GetLockKind(), Context().Texts().strMiniText);
    m_bShowMiniWnd = place.bShow ? 1 : 0;
    ::CheckDlgButton(m_hWnd, IDC_STATUS_MINI_CHECK, m_bShowMiniWnd ? BST_CHECKED : BST_UNCHECKED);
    if (m_bShowMiniWnd)
        m_pMiniWnd->Show();
    else
        m_pMiniWnd->Hide();
    m_pMiniWnd->m_pStatusWnd = this;
}

CChildSession::MINI_PLACE CStatusWnd::CurrentMini() const {
    CChildSession::MINI_PLACE place = Context().Mini();
    place.bShow = m_bShowMiniWnd ? 1 : 0;
    if (m_pMiniWnd && m_pMiniWnd->m_hWnd) {
        int x = 0, y = 0;
        m_pMiniWnd->GetPosition(&x, &y);
        place.nX = x, place.nY = y;
    }
    return place;
}

bool CStatusWnd::Save() {
    const bool bSaved = m_session.Save(CurrentMini());
    ShowSaved(bSaved);
    return bSaved;
}

void CStatusWnd::ShowSaved(bool bSaved) {
    if (m_bSaveFailed == !bSaved) return;
    m_bSaveFailed = !bSaved;
    RefreshTotal();
}

// ---------------------------------------------------------------------------------------------
// The tick and the timers

bool CStatusWnd::OnTimer(UINT_PTR nId) {
    if (nId == kTickTimer) {
        Tick();
        return true;
    }
    if (nId == kUpkeepTimer) {
        IControllerHost* pControl = m_pHost;
        if (m_bShowMiniWnd && m_pMiniWnd && pControl && !pControl->IsObscured()) m_pMiniWnd->Show();
        if (m_pNoticeWnd && Context().GetLockKind() == LOCK_IN_USE) m_pNoticeWnd->Refresh();
        return true;
    }
    return false;
}

void CStatusWnd::Tick() {
    const CChildSession::TICK tick = m_session.Tick(CurrentMini());
    if (tick.bNewDay) {
        // The new weekday's arrangement; the screen stays locked until "Start to use".
        RefreshSettings();
        RefreshTitle();
    }
    if (tick.save != CChildSession::SAVE::NONE) ShowSaved(tick.save == CChildSession::SAVE::SAVED);
    const STATE_TEXTS texts = Context().Texts();
    RefreshTotal();
    RefreshStatus(texts);
    RefreshButtons();
    RefreshPrograms();
    const int nKind = Context().GetLockKind();
    if (m_pNoticeWnd) {
        m_pNoticeWnd->Update(Context());
        m_pNoticeWnd->Refresh(nKind == LOCK_IN_USE);
    }
    if (m_pMiniWnd) m_pMiniWnd->SetStatus(nKind, texts.strMiniText);
    LockPresentation();
    if (m_bShowMiniWnd && m_pMiniWnd) m_pMiniWnd->Show();
}

// ---------------------------------------------------------------------------------------------
// Texts

void CStatusWnd::RefreshTotal() {
    const int nUsed = Context().UsedSecs();
    char szTotal[128];
    std::snprintf(szTotal, sizeof(szTotal), GetMsgText(249).c_str(), nUsed / 3600, nUsed / 60 % 60, nUsed % 60);
    SetDlgItemText(IDC_STATUS_TOTAL, szTotal);
    // A failed save is told where the extra time is, until a save succeeds.
    const std::string strExtra = m_bSaveFailed ? GetMsgText(414) : ExtraTimeLine(Context().ExtraSecsLeft());
    if (GetDlgItemText(IDC_STATUS_EXTRA_LINE) != strExtra) SetDlgItemText(IDC_STATUS_EXTRA_LINE, strExtra);
}

void CStatusWnd::RefreshStatus(const STATE_TEXTS& texts) {
    if (!m_hWnd) return;
    const std::string a = Trimmed(texts.strHeadline);
    const std::string b = Trimmed(texts.strStatusLine);
    const std::string strText = b.empty() ? a + "." : a + ".\r\n" + b + ".";
    if (GetDlgItemText(IDC_STATUS_TEXT) != strText) {
        SetDlgItemText(IDC_STATUS_TEXT, strText);
        PlaceBoxTexts();
        ::InvalidateRect(GetDlgItem(IDC_STATUS_TEXT), nullptr, TRUE);
    }
    if (IControllerHost* pControl = m_pHost) pControl->SetTrayTip(b.empty() ? a : b);
}

void CStatusWnd::RefreshSettings() {
    if (!m_hWnd) return;
    const CDayPrj* pToday = Context().TodayPrj();
    const std::string strSummary = pToday ? Trimmed(pToday->GetSummary()) : std::string();
    SetDlgItemText(IDC_STATUS_SETTINGS_TEXT, strSummary);
    PlaceBoxTexts();
    ::InvalidateRect(GetDlgItem(IDC_STATUS_SETTINGS_TEXT), nullptr, TRUE);
}

void CStatusWnd::RefreshTitle() {
    if (!m_hWnd) return;
    const int nWeekday = CClock::ToLocal(CClock::Now()).nWeekday;
    m_title.SetWindowText(GetMsgText(268) + m_strUser + ", " + GetMsgText(126 + 2 * static_cast<unsigned>(nWeekday)));
    ::InvalidateRect(m_title.m_hWnd, nullptr, TRUE);
}

void CStatusWnd::PlaceBoxTexts() {
    // The status text sits lower when it is one line, the settings text higher the more lines.
    const int nStatusBreaks = CountLineBreaks(GetDlgItemText(IDC_STATUS_TEXT));
    const int nStatusTop = kStatusBox.top + (nStatusBreaks > 0 ? 7 : 19);
    const int nSettingsBreaks = CountLineBreaks(GetDlgItemText(IDC_STATUS_SETTINGS_TEXT));
    const int nSettingsTop = kSettingsBox.top + (nSettingsBreaks == 0 ? 25 : nSettingsBreaks == 1 ? 16 : 5);
    const int nLeft = kStatusBox.left + 5;
    const int nWidth = kStatusBox.right - kStatusBox.left - 10;
    ::MoveWindow(GetDlgItem(IDC_STATUS_TEXT), nLeft, nStatusTop, nWidth, kStatusBox.bottom - nStatusTop - 3, TRUE);
    ::MoveWindow(GetDlgItem(IDC_STATUS_SETTINGS_TEXT), kSettingsBox.left + 5, nSettingsTop,
                 kSettingsBox.right - kSettingsBox.left - 10, kSettingsBox.bottom - nSettingsTop - 3, TRUE);
}

void CStatusWnd::RefreshPrograms() {
    if (!m_hWnd) return;
    const CProgramGuard& programs = m_session.Programs();
    const std::string strLine = programs.StatusLine();
    if (GetDlgItemText(IDC_STATUS_PROGRAM_LINE) != strLine) SetDlgItemText(IDC_STATUS_PROGRAM_LINE, strLine);
    if (m_pNoticeWnd) {
        const PROGRAM_NOTICE notice = programs.Notice();
        m_pNoticeWnd->SetProgramNotice(notice.strText, notice.nSeconds);
    }
    if (m_pHost) m_pHost->LetThrough(m_session.LetThrough());
    m_homework = m_session.HomeworkToOpen();
    HWND hHomework = GetDlgItem(IDC_STATUS_OPEN_HOMEWORK);
    if ((::IsWindowVisible(hHomework) != FALSE) != !m_homework.empty())
        ::ShowWindow(hHomework, m_homework.empty() ? SW_HIDE : SW_SHOW);
}

void CStatusWnd::OnOpenHomework() {
    if (m_homework.empty()) return;
    std::size_t nChosen = 0;
    if (m_homework.size() > 1) {
        // Several: the child picks one from a menu under the button.
        HMENU hMenu = ::CreatePopupMenu();
        for (std::size_t n = 0; n < m_homework.size(); ++n)
            ::AppendMenuA(hMenu, MF_STRING, n + 1, m_homework[n].strProgram.c_str());
        RECT rc{};
        ::GetWindowRect(GetDlgItem(IDC_STATUS_OPEN_HOMEWORK), &rc);
        const int nCommand = ::TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON, rc.left, rc.bottom, 0, m_hWnd, nullptr);
        ::DestroyMenu(hMenu);
        if (nCommand <= 0) return;
        nChosen = static_cast<std::size_t>(nCommand - 1);
    }
    m_session.OpenHomework(m_homework[nChosen]);
}

// ---------------------------------------------------------------------------------------------
// Buttons and the lock

void CStatusWnd::RefreshButtons() {
    if (!m_hWnd) return;
    const int nKind = Context().GetLockKind();
    const int nState = Context().GetStateId();
    const struct {
        int nId;
        bool bEnable;
    } table[] = {
        {IDC_STATUS_START, nKind == LOCK_UNTIL_START},
        {IDC_STATUS_REST, nKind == LOCK_IN_USE},
        {IDC_STATUS_SETTING, nKind == LOCK_IN_USE},
        // Extra time means nothing on a day without use, nor before the new day's start.
        {IDC_STATUS_ASK_MORE, nState != STATE_FORBID_DAY && nState != STATE_NEW_DAY},
    };
    for (const auto& row : table) {
        HWND hButton = GetDlgItem(row.nId);
        if ((::IsWindowEnabled(hButton) != FALSE) != row.bEnable) ::EnableWindow(hButton, row.bEnable);
    }
}


void CStatusWnd::BringToFront() {
    IControllerHost* pControl = m_pHost;
    if (pControl) {
        pControl->RestoreCurtain();
        pControl->LockDesktop();
    }
    CentreWindow(m_hWnd, DesktopArea());
    ShowWindow(SW_SHOW);
    ::SetFocus(m_hWnd);
    if (pControl) pControl->ShowAboveCurtain(m_hWnd);
    // Placed after the curtain, the system's rule that owned windows stay above their owner keeps
    // it in front; topmost again for a system that does not keep that rule.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CStatusWnd::LockPresentation() {
    IControllerHost* pControl = m_pHost;
    const int nKind = Context().GetLockKind();
    if (nKind == LOCK_IN_USE) {
        if (pControl) pControl->UnlockDesktop();
        m_nLockTicks = 0;
        return;
    }
    ++m_nLockTicks;
    // A program the lock lets through (homework) may stand in front: the child is using it.
    const bool bLetThroughInFront = pControl && pControl->IsLetThrough(::GetForegroundWindow());
    if (m_nLockTicks <= 4) {
        // Homework the child went back to right after the lock is left in front.
        if (m_nLockTicks > 1 && bLetThroughInFront) return;
        BringToFront();
        if (m_nLockTicks == 1) {
            ForceForegroundByAlt(m_hWnd);
            ForceForegroundByAttach(m_hWnd);
            ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        return;
    }
    if (!IsWindowVisible()) {
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ShowWindow(SW_SHOW);
        ::BringWindowToTop(m_hWnd);
    }
    // Every monitor, not just the primary one: a screen added while locked must be covered too.
    if (pControl && !pControl->CurtainCoversScreen()) BringToFront();
    // This window's dialog and its message boxes may stand in front.
    const HWND hForeground = ::GetForegroundWindow();
    const HWND hOwn = m_pOwnDlg ? m_pOwnDlg->m_hWnd : nullptr;
    const bool bOurs = hForeground == m_hWnd ||
                       (hOwn && (hForeground == hOwn || (hForeground && ::GetWindow(hForeground, GW_OWNER) == hOwn))) ||
                       bLetThroughInFront;
    if (!bOurs) BringToFront();
}

// ---------------------------------------------------------------------------------------------
// User events

bool CStatusWnd::OnCommand(int nId, int nCode, HWND) {
    switch (nId) {
        case IDC_STATUS_CLOSE:
            PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        case IDC_STATUS_START:
            OnStartToUse();
            return true;
        case IDC_STATUS_REST:
            TakeRest();
            return true;
        case IDC_STATUS_SETTING:
            // As the button allows: only while the computer is in use, whoever sends the command.
            if (Context().GetLockKind() == LOCK_IN_USE) OnSetting();
            return true;
        case IDC_STATUS_ASK_MORE:
            if (nCode == BN_CLICKED) OnAskForMoreTime();
            return true;
        case IDC_STATUS_OPEN_HOMEWORK:
            if (nCode == BN_CLICKED) OnOpenHomework();
            return true;
        case IDC_STATUS_SWITCH:
            DestroyWindow();
            return true;
        case IDC_STATUS_MINI_CHECK:
            if (nCode != BN_CLICKED) return false;
            m_bShowMiniWnd = ::IsDlgButtonChecked(m_hWnd, IDC_STATUS_MINI_CHECK) == BST_CHECKED ? 1 : 0;
            if (m_pMiniWnd) {
                if (m_bShowMiniWnd)
                    m_pMiniWnd->Show();
                else
                    m_pMiniWnd->Hide();
            }
            return true;
        default:
            return false;
    }
}

void CStatusWnd::ShowButtonResult() {
    LockPresentation();
    RefreshStatus(Context().Texts());
    RefreshSettings();
    RefreshTitle();
    RefreshButtons();
}

void CStatusWnd::OnStartToUse() {
    m_session.StartToUse();
    ShowButtonResult();
}

void CStatusWnd::TakeRest() {
    m_session.TakeRest();
    ShowButtonResult();
}

bool CStatusWnd::RunOwnDialog(CDialog& dlg, INT_PTR& nResult) {
    {
        const CTrayMenuPause trayMenuOff(m_pHost);
        m_bInSettings = 1;
        m_pOwnDlg = &dlg;
        nResult = dlg.DoModal();
        m_pOwnDlg = nullptr;
        m_bInSettings = 0;
    }
    // The window was destroyed under the dialog (the end of the program): the object goes now.
    if (m_bDeleteAfterSettings) {
        delete this;
        return false;
    }
    // The dialog's end activates windows anew; this one stays above the curtain.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

void CStatusWnd::OnSetting() {
    CNoticeSettingsDlg dlg(this);
    dlg.m_pStore = m_pStore;
    dlg.m_pStatusWnd = this;
    dlg.m_strUser = m_strUser;
    INT_PTR nResult = 0;
    RunOwnDialog(dlg, nResult);
}

void CStatusWnd::OnAskForMoreTime() {
    CExtraTimeDlg dlg(this, m_pStore, m_pHost, m_strUser);
    INT_PTR nResult = 0;
    if (!RunOwnDialog(dlg, nResult) || nResult != IDOK) return;
    // A child locked by the total or the period is let in at once.
    ShowSaved(m_session.GrantExtra(dlg.m_nSeconds, CurrentMini()));
    RefreshTotal();
    ShowButtonResult();
}

void CStatusWnd::RefreshNoticeSettings() {
    if (!m_pNoticeWnd) return;
    m_pNoticeWnd->SetLeadSeconds(m_pStore->m_childAccounts.GetNoticeSeconds(m_strUser));
    m_pNoticeWnd->SetSound(m_pStore->m_childAccounts.GetAlertSound(m_strUser));
}

void CStatusWnd::ShowMiniWindow() {
    m_bShowMiniWnd = 1;
    ::CheckDlgButton(m_hWnd, IDC_STATUS_MINI_CHECK, BST_CHECKED);
    if (m_pMiniWnd) m_pMiniWnd->Show();
}

void CStatusWnd::OnMiniClosed() {
    m_bShowMiniWnd = 0;
    ::CheckDlgButton(m_hWnd, IDC_STATUS_MINI_CHECK, BST_UNCHECKED);
}

bool CStatusWnd::IsInSettings() const { return m_bInSettings != 0; }

void CStatusWnd::SwitchUser() {
    // A dialog of this window is open: the login goes on.
    if (m_bInSettings) return;
    if (m_hWnd) DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// Messages

bool CStatusWnd::OnSysCommand(UINT nId, LPARAM) {
    IControllerHost* pControl = m_pHost;
    if (pControl && pControl->IsLocked()) return true;
    switch (nId & 0xFFF0) {
        case SC_CLOSE:
            // The program drops to the tray.
            if (pControl) pControl->DropToTray();
            return true;
        case SC_MINIMIZE:
            if (pControl) pControl->MinimiseCurtain();
            return true;
        default:
            return false;
    }
}

bool CStatusWnd::OnMessage(UINT nMsg, WPARAM, LPARAM lParam, LRESULT& lResult) {
    switch (nMsg) {
        case WM_NCHITTEST: {
            // The banner drags the window.
            if (!HitTestTitleBand(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), m_hWnd,
                                  kBannerHeight, BandOrigin::Client))
                return false;
            lResult = HTCAPTION;
            return true;
        }
        default:
            return false;
    }
}

BOOL CStatusWnd::PreTranslateMessage(MSG* pMsg) {
    if (IsReturnOrEscape(pMsg)) return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

bool CStatusWnd::OnEraseBkgnd(HDC hDC) {
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    ::FillRect(hDC, &rc, m_bkBrush.Get());
    ::FillRgn(hDC, m_statusBox.Get(), m_boxBrush.Get());
    ::FillRgn(hDC, m_settingsBox.Get(), m_boxBrush.Get());
    StretchBitmap(hDC, m_banner.Get(), RECT{0, 0, rc.right, kBannerHeight});
    return true;
}

bool CStatusWnd::OnPaint() {
    const CPaintDC dc(m_hWnd);
    const HDC hDC = dc.Get();
    const CSelectObject font(hDC, m_captionFont.Get());
    ::SetTextColor(hDC, kAccentColor);
    ::SetBkMode(hDC, TRANSPARENT);
    const std::string strStatus = GetMsgText(262), strSettings = GetMsgText(264);
    // Each separator starts 100 pixels after the caption's left, or after a caption that is wider.
    auto LineStart = [hDC](const std::string& strCaption) {
        SIZE size{};
        ::GetTextExtentPoint32A(hDC, strCaption.c_str(), static_cast<int>(strCaption.size()), &size);
        return kX0 + (size.cx + 6 > 100 ? size.cx + 6 : 100);
    };
    ::TextOutA(hDC, kX0, kY0, strStatus.c_str(), static_cast<int>(strStatus.size()));
    DrawGradientLine(hDC, LineStart(strStatus), kY0 + 10, 450, kLineFrom, kLineTo, 1);
    DrawTransparentBitmap(hDC, m_statusPicture.Get(), kX0 + 8, kY0 + 26, kWhite);
    ::TextOutA(hDC, kX0, kY0 + 94, strSettings.c_str(), static_cast<int>(strSettings.size()));
    DrawGradientLine(hDC, LineStart(strSettings), kY0 + 102, 450, kLineFrom, kLineTo, 1);
    DrawTransparentBitmap(hDC, m_settingsPicture.Get(), kX0 + 8, kY0 + 125, kWhite);
    DrawGradientLine(hDC, kX0, kY0 + 195, 450, kLineFrom, kLineTo, 1);
    return true;
}

// ---------------------------------------------------------------------------------------------
// End of the login

void CStatusWnd::OnDestroy() {
    KillTimer(kTickTimer);
    KillTimer(kUpkeepTimer);
    // The login ends whether or not this save goes through: a failure is in the event log, and
    // the usage stays in the store's memory, where the next save of this run takes it from.
    m_session.Save(CurrentMini());
    if (m_pNoticeWnd) {
        m_pNoticeWnd->DestroyWindow();
        m_pNoticeWnd.reset();
    }
    if (m_pMiniWnd) {
        m_pMiniWnd->m_pStatusWnd = nullptr;
        m_pMiniWnd->DestroyWindow();  // the mini window deletes itself
        m_pMiniWnd = nullptr;
    }
    if (IControllerHost* pControl = m_pHost) {
        // The lock screen clears its pointer itself when it is the one closing this window (the
        // end of the program); then it does not come back.
        const bool bBackToLock = m_pLockScreen && m_pLockScreen->ReleaseAccountWindow(this);
        pControl->RestoreCurtain();
        // Homework is let through for the child logged in only: it goes away with the login.
        pControl->LetThrough({});
        pControl->LockDesktop();
        if (bBackToLock) m_pLockScreen->ReturnFromStatusWindow();
    }
}

void CStatusWnd::PostNcDestroy() {
    // The settings dialog's loop still runs on this object; it deletes it when it returns.
    if (m_bInSettings) {
        m_bDeleteAfterSettings = true;
        return;
    }
    delete this;
}
