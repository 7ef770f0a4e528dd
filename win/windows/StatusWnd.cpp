// The logged-in child's status window: the tick that drives the usage context, the buttons, the
// lock presentation in front of the curtain, the two text boxes and the end of the login.
#include "win/windows/StatusWnd.h"

#include <cstdio>

#include "core/rules/DayHistory.h"
#include "core/rules/ExtraTime.h"
#include "core/rules/UsageState.h"
#include "core/store/DataStore.h"
#include "core/texts/MsgText.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/controls/WinUtilities.h"
#include "win/framework/WinApp.h"
#include "win/windows/AccountWindowHost.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/ExtraTimeDlg.h"
#include "win/windows/MiniWnd.h"
#include "win/windows/NoticeSettingsDlg.h"
#include "win/windows/NoticeWnd.h"

namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT_PTR kUpkeepTimer = 2;
constexpr COLORREF kBoxColor = RGB(232, 232, 232);
constexpr COLORREF kLineFrom = RGB(88, 116, 203);
constexpr COLORREF kLineTo = RGB(240, 240, 240);
constexpr COLORREF kStatusTextColor = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

CStatusWnd::CStatusWnd(CDataStore* pStore, IControllerHost* pHost, IAccountWindowHost* pLockScreen,
                       const std::string& strUser)
    : CDialog(IDD_STATUS), m_pStore(pStore), m_pHost(pHost), m_pLockScreen(pLockScreen), m_strUser(strUser),
      m_context(strUser), m_programs(pStore->m_programRules, pStore->m_programUse) {
    if (m_pStore) m_context.m_pExtraStore = &m_pStore->m_extraTime;
}

CStatusWnd::~CStatusWnd() = default;

BOOL CStatusWnd::Create() { return CDialog::Create(IDD_STATUS); }

// ---------------------------------------------------------------------------------------------
// Set-up

BOOL CStatusWnd::OnInitDialog() {
    m_nTicks = m_nLockTicks = 0;
    m_bInSettings = m_bShowMiniWnd = 0;
    const HINSTANCE hRes = CWinApp::ResourceHandle();
    m_hBanner = ::LoadBitmapA(hRes, MAKEINTRESOURCEA(IDB_STATUS_BANNER));
    m_hStatusPicture = ::LoadBitmapA(hRes, MAKEINTRESOURCEA(IDB_STATUS_PICTURE));
    m_hSettingsPicture = ::LoadBitmapA(hRes, MAKEINTRESOURCEA(IDB_SETTINGS_PICTURE));
    m_hStatusRgn = ::CreateRoundRectRgn(kStatusBox.left, kStatusBox.top, kStatusBox.right, kStatusBox.bottom, 10, 10);
    m_hSettingsRgn =
        ::CreateRoundRectRgn(kSettingsBox.left, kSettingsBox.top, kSettingsBox.right, kSettingsBox.bottom, 10, 10);
    m_hBkBrush = ::CreateSolidBrush(kDialogBkColor);
    m_hBoxBrush = ::CreateSolidBrush(kBoxColor);
    m_hFont = ::CreateFontA(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Tahoma");

    SetUpControls();
    StartLogin();

    RefreshTotal();
    RefreshStatus();
    RefreshSettings();
    RefreshTitle();
    RefreshButtons();
    RefreshPrograms();
    LockPresentation();

    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    m_pNoticeWnd = std::make_unique<CNoticeWnd>();
    m_pNoticeWnd->Create();
    RefreshNoticeSettings();

    m_pMiniWnd = new CMiniWnd(m_pHost);
    m_pMiniWnd->m_nX = m_context.m_nMiniX;
    m_pMiniWnd->m_nY = m_context.m_nMiniY;
    if (m_pMiniWnd->Create()) {
        m_pMiniWnd->SetStatus(m_context.GetLockKind(), m_context.GetInfo3());
        m_bShowMiniWnd = m_context.m_bShowMini ? 1 : 0;
        ::CheckDlgButton(m_hWnd, IDC_STATUS_MINI_CHECK, m_bShowMiniWnd ? BST_CHECKED : BST_UNCHECKED);
        if (m_bShowMiniWnd)
            m_pMiniWnd->Show();
        else
            m_pMiniWnd->Hide();
        m_pMiniWnd->m_pStatusWnd = this;
    } else {
        delete m_pMiniWnd;
        m_pMiniWnd = nullptr;
    }

    Save();
    m_pStore->m_activeUsers.Save();

    m_useMeter.Start(CClock::RunningMs());
    m_nUnsavedSecs = 0;

    SetTimer(kTickTimer, 1000);
    SetTimer(kUpkeepTimer, 500);

    if (IControllerHost* pControl = m_pHost) {
        if (HMENU hMenu = ::GetSystemMenu(pControl->CurtainWnd(), FALSE))
            ::EnableMenuItem(hMenu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    }
    CentreWindow(m_hWnd, DesktopArea());
    ::SetFocus(m_hWnd);
    if (IControllerHost* pControl = m_pHost)
        ::SetWindowPos(m_hWnd, pControl->CurtainWnd(), 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
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
    m_statusText.SetFont(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Tahoma");
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

void CStatusWnd::AddActiveUser() {
    if (!m_pStore->m_activeUsers.Find(m_strUser)) m_pStore->m_activeUsers.Add(m_strUser);
}

void CStatusWnd::StartLogin() {
    m_nTicks = 0;
    // Days that ended since the last start go to the history before a new day's start replaces
    // what use.sta holds of them.
    CDayHistory::CloseEndedDays(*m_pStore, CClock::Now());
    const bool bActive = m_pStore->m_activeUsers.Find(m_strUser) != nullptr;
    m_context.Start(m_strUser, bActive, m_pStore->m_prjStore, m_pStore->m_usageStore);
    m_programs.Start(m_strUser);
    m_nWeekday = CClock::ToLocal(CClock::Now()).nWeekday;
    RefreshStatus();
    RefreshSettings();
    AddActiveUser();
}

void CStatusWnd::StartFresh() {
    m_nTicks = 0;
    m_context.StartFresh(m_strUser, m_pStore->m_prjStore, m_pStore->m_usageStore);
    m_nWeekday = CClock::ToLocal(CClock::Now()).nWeekday;
    RefreshStatus();
    RefreshSettings();
    RefreshTitle();
    AddActiveUser();
}

void CStatusWnd::Save() {
    m_context.m_bShowMini = m_bShowMiniWnd;
    if (m_pMiniWnd && m_pMiniWnd->m_hWnd) {
        int x = 0, y = 0;
        m_pMiniWnd->GetPosition(&x, &y);
        m_context.m_nMiniX = x;
        m_context.m_nMiniY = y;
    }
    m_context.Save(m_pStore->m_usageStore);
    m_programs.Save();
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
        if (m_pNoticeWnd && m_context.GetLockKind() == LOCK_IN_USE) m_pNoticeWnd->Refresh();
        return true;
    }
    return false;
}

void CStatusWnd::Tick() {
    if (m_context.GetStateId() == STATE_NEW_DAY && m_context.IsNewDay()) {
        // A new day seen while logged in: the day's arrangement for the new weekday, and the
        // screen stays locked until "Start to use".
        m_nTicks = 0;
        m_context.StartNewDay(m_pStore->m_prjStore, m_pStore->m_usageStore);
        m_nWeekday = CClock::ToLocal(CClock::Now()).nWeekday;
        RefreshSettings();
        RefreshTitle();
        AddActiveUser();
    }
    // The seconds that really passed since the last tick: a late, merged or stalled timer
    // message (a suspended process, a busy queue) counts all of them, a sleep counts nothing.
    const int nSeconds = m_useMeter.Take(CClock::RunningMs());
    const bool bWasNewDay = m_context.GetStateId() == STATE_NEW_DAY;
    m_context.OnTimer(m_programs.Tick(nSeconds, m_context));
    // Midnight: the day just ended goes to the history while the context still holds it.
    if (!bWasNewDay && m_context.GetStateId() == STATE_NEW_DAY) CDayHistory::CloseDay(m_context);
    ++m_nTicks;
    m_nUnsavedSecs += nSeconds;
    RefreshTotal();
    RefreshStatus();
    if (m_nUnsavedSecs >= 60 && m_context.GetStateId() != STATE_NEW_DAY) {
        m_nUnsavedSecs = 0;
        Save();
    }
    RefreshButtons();
    RefreshPrograms();
    const int nKind = m_context.GetLockKind();
    if (m_pNoticeWnd) {
        m_pNoticeWnd->Update(m_context);
        m_pNoticeWnd->Refresh(nKind == LOCK_IN_USE);
    }
    if (m_pMiniWnd) m_pMiniWnd->SetStatus(nKind, m_context.GetInfo3());
    LockPresentation();
    if (m_bShowMiniWnd && m_pMiniWnd) m_pMiniWnd->Show();
}

// ---------------------------------------------------------------------------------------------
// Texts

void CStatusWnd::RefreshTotal() {
    const int nUsed = m_context.m_nUsedSecs;
    char szTotal[128];
    std::snprintf(szTotal, sizeof(szTotal), GetMsgText(249).c_str(), nUsed / 3600, nUsed / 60 % 60, nUsed % 60);
    SetDlgItemText(IDC_STATUS_TOTAL, szTotal);
    const std::string strExtra = ExtraTimeLine(m_context.m_nExtraSecsLeft);
    if (GetDlgItemText(IDC_STATUS_EXTRA_LINE) != strExtra) SetDlgItemText(IDC_STATUS_EXTRA_LINE, strExtra);
}

void CStatusWnd::RefreshStatus() {
    if (!m_hWnd) return;
    const std::string a = Trimmed(m_context.GetInfo1());
    const std::string b = Trimmed(m_context.GetInfo4());
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
    const std::string strSummary = m_context.m_pTodayPrj ? Trimmed(m_context.m_pTodayPrj->GetSummary()) : std::string();
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
    const std::string strLine = m_programs.StatusLine();
    if (GetDlgItemText(IDC_STATUS_PROGRAM_LINE) != strLine) SetDlgItemText(IDC_STATUS_PROGRAM_LINE, strLine);
    if (m_pNoticeWnd) {
        const PROGRAM_NOTICE notice = m_programs.Notice();
        m_pNoticeWnd->SetProgramNotice(notice.strText, notice.nSeconds);
    }
    if (m_pHost) m_pHost->LetThrough(m_programs.LetThrough(m_context));
    m_homework = m_programs.HomeworkToOpen(m_context);
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
    m_programs.OpenHomework(m_homework[nChosen]);
}

// ---------------------------------------------------------------------------------------------
// Buttons and the lock

void CStatusWnd::RefreshButtons() {
    if (!m_hWnd) return;
    const int nKind = m_context.GetLockKind();
    const struct {
        int nId;
        bool bEnable;
    } table[] = {
        {IDC_STATUS_START, nKind == LOCK_UNTIL_START},
        {IDC_STATUS_REST, nKind == LOCK_IN_USE},
        {IDC_STATUS_SETTING, nKind == LOCK_IN_USE},
        // Extra time means nothing on a day without use, nor before the new day's start.
        {IDC_STATUS_ASK_MORE, m_context.GetStateId() != STATE_FORBID_DAY && m_context.GetStateId() != STATE_NEW_DAY},
    };
    for (const auto& row : table) {
        HWND hButton = GetDlgItem(row.nId);
        if ((::IsWindowEnabled(hButton) != FALSE) != row.bEnable) ::EnableWindow(hButton, row.bEnable);
    }
}


void CStatusWnd::BringToFront() {
    IControllerHost* pControl = m_pHost;
    if (pControl) {
        if (::IsIconic(pControl->CurtainWnd())) ::SendMessageA(pControl->CurtainWnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
        pControl->LockDesktop();
    }
    CentreWindow(m_hWnd, DesktopArea());
    ShowWindow(SW_SHOW);
    ::SetFocus(m_hWnd);
    if (pControl) ::SetWindowPos(m_hWnd, pControl->CurtainWnd(), 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    // Placed after the curtain, the system's rule that owned windows stay above their owner keeps
    // it in front; topmost again for a system that does not keep that rule.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CStatusWnd::LockPresentation() {
    IControllerHost* pControl = m_pHost;
    const int nKind = m_context.GetLockKind();
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
    if (pControl) {
        RECT rc{};
        ::GetWindowRect(pControl->CurtainWnd(), &rc);
        if (rc.left > 0 || rc.top > 0 || rc.right < ::GetSystemMetrics(SM_CXSCREEN) ||
            rc.bottom < ::GetSystemMetrics(SM_CYSCREEN))
            BringToFront();
    }
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
            OnSetting();
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

void CStatusWnd::OnStartToUse() {
    if (m_context.GetStateId() == STATE_NEW_DAY) {
        // The new day's real state is chosen by a fresh start; the screen and the buttons follow
        // it at once rather than a tick later.
        StartFresh();
        LockPresentation();
        RefreshButtons();
        return;
    }
    m_context.OnStartToUse();
    LockPresentation();
    RefreshStatus();
    RefreshButtons();
}

void CStatusWnd::TakeRest() {
    m_context.OnTakeRest();
    LockPresentation();
    RefreshStatus();
    RefreshButtons();
}

bool CStatusWnd::RunOwnDialog(CDialog& dlg, INT_PTR& nResult) {
    IControllerHost* pControl = m_pHost;
    if (pControl) pControl->EnableTrayMenu(false);
    m_bInSettings = 1;
    m_pOwnDlg = &dlg;
    nResult = dlg.DoModal();
    m_pOwnDlg = nullptr;
    m_bInSettings = 0;
    if (pControl) pControl->EnableTrayMenu(true);
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
    m_context.GrantExtra(dlg.m_nSeconds);
    Save();
    RefreshTotal();
    RefreshStatus();
    RefreshButtons();
    LockPresentation();
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
            if (pControl) {
                ::PostMessageA(pControl->CurtainWnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
                ::ShowWindow(pControl->CurtainWnd(), SW_HIDE);
                const LONG nExStyle = ::GetWindowLongA(pControl->CurtainWnd(), GWL_EXSTYLE);
                ::SetWindowLongA(pControl->CurtainWnd(), GWL_EXSTYLE, nExStyle & ~WS_EX_APPWINDOW);
            }
            return true;
        case SC_MINIMIZE:
            if (pControl) ::PostMessageA(pControl->CurtainWnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
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
    ::FillRect(hDC, &rc, m_hBkBrush);
    ::FillRgn(hDC, m_hStatusRgn, m_hBoxBrush);
    ::FillRgn(hDC, m_hSettingsRgn, m_hBoxBrush);
    StretchBitmap(hDC, m_hBanner, RECT{0, 0, rc.right, kBannerHeight});
    return true;
}

bool CStatusWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    HGDIOBJ hOldFont = ::SelectObject(hDC, m_hFont);
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
    DrawTransparentBitmap(hDC, m_hStatusPicture, kX0 + 8, kY0 + 26, kWhite);
    ::TextOutA(hDC, kX0, kY0 + 94, strSettings.c_str(), static_cast<int>(strSettings.size()));
    DrawGradientLine(hDC, LineStart(strSettings), kY0 + 102, 450, kLineFrom, kLineTo, 1);
    DrawTransparentBitmap(hDC, m_hSettingsPicture, kX0 + 8, kY0 + 125, kWhite);
    DrawGradientLine(hDC, kX0, kY0 + 195, 450, kLineFrom, kLineTo, 1);
    ::SelectObject(hDC, hOldFont);
    ::EndPaint(m_hWnd, &ps);
    return true;
}

// ---------------------------------------------------------------------------------------------
// End of the login

void CStatusWnd::OnDestroy() {
    KillTimer(kTickTimer);
    KillTimer(kUpkeepTimer);
    Save();
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
        if (::IsIconic(pControl->CurtainWnd())) ::SendMessageA(pControl->CurtainWnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
        // Homework is let through for the child logged in only: it goes away with the login.
        pControl->LetThrough({});
        pControl->LockDesktop();
        if (bBackToLock) m_pLockScreen->ReturnFromStatusWindow();
    }
    const HGDIOBJ objects[] = {m_hStatusRgn, m_hSettingsRgn, m_hBkBrush, m_hBoxBrush,
                               m_hFont,      m_hBanner,      m_hStatusPicture, m_hSettingsPicture};
    for (HGDIOBJ hObject : objects)
        if (hObject) ::DeleteObject(hObject);
    m_hStatusRgn = m_hSettingsRgn = nullptr;
    m_hBkBrush = m_hBoxBrush = nullptr;
    m_hFont = nullptr;
    m_hBanner = m_hStatusPicture = m_hSettingsPicture = nullptr;
}

void CStatusWnd::PostNcDestroy() {
    // The settings dialog's loop still runs on this object; it deletes it when it returns.
    if (m_bInSettings) {
        m_bDeleteAfterSettings = true;
        return;
    }
    delete this;
}
