// The time arrangement editor.
#include "win/windows/ArrangementDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <utility>

#include "companion/CompanionNames.h"
#include "core/programs/ProgramList.h"
#include "core/seams/Clock.h"
#include "core/seams/SystemActions.h"
#include "core/store/DataStore.h"
#include "core/store/PrjStore.h"
#include "core/texts/MsgText.h"
#include "QuenbyVersion.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/controls/GdiObject.h"
#include "win/controls/PaintDC.h"
#include "win/controls/UiFont.h"
#include "win/controls/WinUtilities.h"
#include "win/framework/WinApp.h"
#include "win/windows/AboutDlg.h"
#include "win/windows/AccountWindowHost.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/HistoryDlg.h"
#include "win/windows/ProgramsDlg.h"
#include "win/windows/SaveFailure.h"
#include "win/windows/SaveForDlg.h"
#include "win/windows/TrayMenuPause.h"

const char* const CArrangementDlg::kWebAddress = CAboutDlg::kWebAddress;

namespace {

// The condition combo boxes, their items and the item selected when the window opens.
struct COMBO_ITEMS {
    int nId;
    int nFirst, nStep, nCount;  // evenly spaced items...
    const int* pValues;         // ...or these
    bool bTwoDigits;
    int nOpening;  // index
};
const int kRestEvery[] = {3, 5, 8, 10, 12, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60};
const int kRestMinutes[] = {1, 2, 3, 5, 8, 10, 15, 20, 25, 30};
const COMBO_ITEMS kComboItems[] = {
    {IDC_ARR_REST_EVERY, 0, 0, 15, kRestEvery, false, 3},
    {IDC_ARR_REST_MINUTES, 0, 0, 10, kRestMinutes, false, 3},
    {IDC_ARR_TOTAL_HOURS, 0, 1, 9, nullptr, false, 1},
    {IDC_ARR_TOTAL_MINUTES, 0, 5, 12, nullptr, false, 6},
    {IDC_ARR_START_HOUR, 0, 1, 24, nullptr, true, 7},
    {IDC_ARR_START_MINUTE, 0, 5, 12, nullptr, true, 0},
    {IDC_ARR_END_HOUR, 0, 1, 25, nullptr, true, 23},
    {IDC_ARR_END_MINUTE, 0, 5, 12, nullptr, true, 0},
    {IDC_ARR_USER, 0, 0, 0, nullptr, false, -1},  // the children, filled apart
};

// The condition controls, enabled and disabled together.
const int kConditionIds[] = {IDC_ARR_REST_CHECK,   IDC_ARR_TOTAL_CHECK,  IDC_ARR_PERIOD_CHECK, IDC_ARR_REST_EVERY,
                             IDC_ARR_REST_MINUTES, IDC_ARR_TOTAL_HOURS,  IDC_ARR_TOTAL_MINUTES, IDC_ARR_START_HOUR,
                             IDC_ARR_START_MINUTE, IDC_ARR_END_HOUR,     IDC_ARR_END_MINUTE};

std::string DayName(int nDay) { return GetMsgText(126 + 2 * static_cast<unsigned>(nDay)); }

HBITMAP LoadPicture(UINT nId) {
    return static_cast<HBITMAP>(::LoadImageA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(nId), IMAGE_BITMAP, 0, 0, 0));
}

// The metrics of a font as it is drawn in a window.
TEXTMETRICA FontMetrics(HWND hWnd, HFONT hFont) {
    TEXTMETRICA metrics{};
    HDC hDC = ::GetDC(hWnd);
    {
        const CSelectObject font(hDC, hFont);
        ::GetTextMetricsA(hDC, &metrics);
    }
    ::ReleaseDC(hWnd, hDC);
    return metrics;
}

int CheckOf(HWND hDlg, int nId) { return ::IsDlgButtonChecked(hDlg, nId) == BST_CHECKED ? 1 : 0; }
void SetCheck(HWND hDlg, int nId, bool bChecked) {
    ::CheckDlgButton(hDlg, nId, bChecked ? BST_CHECKED : BST_UNCHECKED);
}


}  // namespace

CArrangementDlg::CArrangementDlg(CDataStore* pStore, IControllerHost* pHost, IAccountWindowHost* pLockScreen)
    : CDialog(IDD_ARRANGEMENT), m_pStore(pStore), m_pHost(pHost), m_pLockScreen(pLockScreen), m_dlgAccounts(pHost),
      m_dlgOptions(pHost) {}

CArrangementDlg::~CArrangementDlg() = default;

BOOL CArrangementDlg::Create() { return CDialog::Create(IDD_ARRANGEMENT); }

bool CArrangementDlg::IsBusy() const { return m_bBusy != 0; }

BOOL CArrangementDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The pixel figures of the drawing were made for a dialog unit of 1.75 x 2 pixels; where the
    // font gives other units (another system font, Wine's Tahoma) they follow the controls.
    RECT rcUnits{0, 0, 400, 400};
    ::MapDialogRect(m_hWnd, &rcUnits);
    m_dScaleX = rcUnits.right / 400.0 / 1.75;
    m_dScaleY = rcUnits.bottom / 400.0 / 2.0;
    m_bkBrush.Reset(::CreateSolidBrush(kDialogBkColor));
    m_band.Reset(LoadPicture(IDB_TITLE_BAND));
    m_logo.Reset(LoadPicture(IDB_LOGO));

    SetDlgItemText(IDC_TITLE, QUENBY_PRODUCT_TITLE);
    SetDlgItemText(IDC_ARR_SWITCH_USER, GetMsgText(342));
    SetDlgItemText(IDC_ARR_ACCOUNTS, GetMsgText(344));
    SetDlgItemText(IDC_ARR_OPTIONS, GetMsgText(346));
    SetDlgItemText(IDC_ARR_ABOUT, GetMsgText(350));
    SetDlgItemText(IDC_ARR_HISTORY, GetMsgText(416));
    SetDlgItemText(IDC_ARR_PROGRAMS, GetMsgText(422));
    SetDlgItemText(IDC_ARR_LOGO, "");
    SetDlgItemText(IDC_ARR_LOGO_TEXT, QUENBY_PRODUCT_NAME);
    SetDlgItemText(IDC_ARR_USER_LABEL, GetMsgText(352));
    SetDlgItemText(IDC_ARR_DAY_LABEL, GetMsgText(354));
    SetDlgItemText(IDC_ARR_FREE, GetMsgText(356));
    SetDlgItemText(IDC_ARR_FORBID, GetMsgText(358));
    SetDlgItemText(IDC_ARR_CONDITIONAL, GetMsgText(360));
    SetDlgItemText(1050, GetMsgText(362));
    SetDlgItemText(1051, GetMsgText(364));
    SetDlgItemText(1052, GetMsgText(366));
    SetDlgItemText(1053, GetMsgText(368));
    SetDlgItemText(1054, GetMsgText(370));
    SetDlgItemText(1055, GetMsgText(366));
    SetDlgItemText(1056, GetMsgText(372));
    SetDlgItemText(1057, ":");
    SetDlgItemText(1058, GetMsgText(374));
    SetDlgItemText(1059, ":");
    SetDlgItemText(IDC_ARR_SAVE, std::string("    ").append(GetMsgText(142)));
    SetDlgItemText(IDC_ARR_SAVE_FOR, GetMsgText(418));
    SetLooks();

    BuildList();
    FillConditionCombos();
    FillUserCombo();
    m_nDay = CClock::ToLocal(CClock::Now()).nWeekday;
    if (m_pStore) {  // what is on disk
        m_pStore->m_prjStore.Load();
        m_pStore->m_programRules.Load();
    }
    ShowWeek();
    ShowDay();

    IControllerHost* pControl = m_pHost;
    if (pControl) pControl->OfferCurtainClose(true);
    SetDlgItemText(IDC_ARR_INFO1, GetMsgText(274));
    SetDlgItemText(IDC_ARR_INFO2, GetMsgText(276));
    SetDlgItemText(IDC_ARR_INFO3, GetMsgText(278));
    if (pControl) pControl->SetTrayTip(QUENBY_PRODUCT_NAME);

    SelectDayRow();
    CentreWindow(m_hWnd, WorkArea());
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return FALSE;  // the focus is on the list
}

void CArrangementDlg::SetLooks() {
    if (m_title.SubclassDlgItem(IDC_TITLE, this)) ApplyTitleFont(m_title);
    if (m_btnMinimise.SubclassDlgItem(IDC_ARR_MINIMISE, this)) ApplyCloseButtonLook(m_btnMinimise, true);
    if (m_btnClose.SubclassDlgItem(IDC_TITLE_CLOSE, this)) ApplyCloseButtonLook(m_btnClose, false);
    if (m_dayName.SubclassDlgItem(IDC_ARR_DAY_NAME, this)) {
        m_dayName.SetFont(18);
        m_dayName.SetTextColor(kAccentColor);
        m_dayName.SetBkColor(kDialogBkColor);
        m_dayName.SetTransparent(FALSE);
    }
    if (m_logoText.SubclassDlgItem(IDC_ARR_LOGO_TEXT, this)) {
        m_logoText.SetFont(32, 600);
        m_logoText.SetTextColor(RGB(255, 255, 255));
        m_logoText.SetTransparent(TRUE);
    }
    if (m_btnSave.SubclassDlgItem(IDC_ARR_SAVE, this)) {
        // The face's corners are in the window's background colour.
        m_btnSave.SetBitmaps(IDB_SAVE, kDialogBkColor);
        m_btnSave.SetAlign(CSkinButton::ALIGN_OVERLAP);
        m_btnSave.SetTransparent(TRUE);
        m_btnSave.SetDrawBorder(FALSE);
        m_btnSave.SetColor(CSkinButton::COLOR_FG_IN, kAccentColor);
        m_btnSave.SetColor(CSkinButton::COLOR_FG_OUT, RGB(0, 0, 0));
        m_btnSave.SizeToContent();
    }
    const struct {
        CSkinButton* pButton;
        int nId;
        UINT nBitmap;
    } toolbar[] = {{&m_btnSwitch, IDC_ARR_SWITCH_USER, IDB_SWITCH_USER},
                   {&m_btnAccounts, IDC_ARR_ACCOUNTS, IDB_ACCOUNTS},
                   {&m_btnOptions, IDC_ARR_OPTIONS, IDB_SETTINGS_HOT},
                   {&m_btnAbout, IDC_ARR_ABOUT, IDB_ABOUT},
                   {&m_btnHistory, IDC_ARR_HISTORY, IDB_HISTORY},
                   {&m_btnPrograms, IDC_ARR_PROGRAMS, IDB_PROGRAMS}};
    for (const auto& tool : toolbar) {
        if (!tool.pButton->SubclassDlgItem(tool.nId, this)) continue;
        tool.pButton->SetBitmaps(tool.nBitmap, RGB(255, 255, 255));
        tool.pButton->SetAlign(CSkinButton::ALIGN_VERT);
        tool.pButton->SetTransparent(TRUE);
        tool.pButton->SetDrawBorder(FALSE);
        for (int nSlot : {CSkinButton::COLOR_FG_IN, CSkinButton::COLOR_FG_OUT, CSkinButton::COLOR_FG_FOCUS})
            tool.pButton->SetColor(nSlot, RGB(255, 255, 255));
    }
    for (int n = 0; n < 3; ++n) {
        if (!m_info[n].SubclassDlgItem(IDC_ARR_INFO1 + n, this)) continue;
        m_info[n].SetFont(17);
        m_info[n].SetTextColor(RGB(0, 0, 0));
        m_info[n].SetBkColor(kDialogBkColor);
        m_info[n].SetTransparent(FALSE);
        // The lines are grown to their font's height, so that no descender is cut off.
        HWND hLine = m_info[n].m_hWnd;
        const TEXTMETRICA metrics = FontMetrics(hLine, m_info[n].GetFont());
        RECT rcLine;
        ::GetWindowRect(hLine, &rcLine);
        if (rcLine.bottom - rcLine.top < metrics.tmHeight)
            ::SetWindowPos(hLine, nullptr, 0, 0, rcLine.right - rcLine.left, metrics.tmHeight,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (size_t n = 0; n < std::size(kComboItems); ++n) m_combos[n].SubclassDlgItem(kComboItems[n].nId, this);
    m_strip.SubclassDlgItem(IDC_ARR_PREVIEW_STRIP, this);
    // The preview's sentence and, under it, the day's programs.
    for (const auto& [pLabel, nId] : {std::pair{&m_previewText, IDC_ARR_PREVIEW_TEXT}, {&m_previewPrograms, IDC_ARR_PREVIEW_PROGRAMS}}) {
        if (!pLabel->SubclassDlgItem(nId, this)) continue;
        pLabel->SetFont(15);
        pLabel->SetTextColor(kAccentColor);
        pLabel->SetBkColor(kDialogBkColor);
        pLabel->SetTransparent(FALSE);
    }
    if (m_btnSaveFor.SubclassDlgItem(IDC_ARR_SAVE_FOR, this)) ApplyActionButtonLook(m_btnSaveFor, 0);
}

int CArrangementDlg::SX(int x) const { return static_cast<int>(x * m_dScaleX + 0.5); }
int CArrangementDlg::SY(int y) const { return static_cast<int>(y * m_dScaleY + 0.5); }

void CArrangementDlg::SetListFont(int nHeight) {
    CGdiObject<HFONT> font = CreateUiFont(nHeight);
    ::SendMessageA(GetDlgItem(IDC_ARR_WEEK), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    m_listFont = std::move(font);  // the old font goes only once the list has let go of it
}

void CArrangementDlg::BuildList() {
    HWND hList = GetDlgItem(IDC_ARR_WEEK);
    InsertListColumn(hList, 0, std::string(" ").append(GetMsgText(122)), SX(80));
    InsertListColumn(hList, 1, std::string(" ").append(GetMsgText(124)), SX(672));
    for (int nDay = 0; nDay < 7; ++nDay) {
        std::string strName = std::string(" ").append(DayName(nDay));
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = nDay;
        item.pszText = strName.data();
        ListView_InsertItem(hList, &item);
    }
    ::SetWindowLongA(hList, GWL_EXSTYLE, ::GetWindowLongA(hList, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(hList, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    ::SetWindowPos(hList, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    // The whole week without scrolling: a smaller font where the list's rows would not fit.
    for (int nHeight = SY(16); nHeight >= 10; --nHeight) {
        SetListFont(nHeight);
        if (ListView_GetCountPerPage(hList) >= 7) break;
    }
}

void CArrangementDlg::FillConditionCombos() {
    for (const COMBO_ITEMS& combo : kComboItems) {
        if (combo.nCount == 0) continue;
        HWND hCombo = GetDlgItem(combo.nId);
        for (int n = 0; n < combo.nCount; ++n) {
            const int nValue = combo.pValues ? combo.pValues[n] : combo.nFirst + n * combo.nStep;
            char szText[8];
            std::snprintf(szText, sizeof szText, combo.bTwoDigits ? "%.2d" : "%d", nValue);
            ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(szText));
        }
        ::SendMessageA(hCombo, CB_SETCURSEL, combo.nOpening, 0);
    }
}

void CArrangementDlg::FillUserCombo() {
    HWND hCombo = GetDlgItem(IDC_ARR_USER);
    ::SendMessageA(hCombo, CB_RESETCONTENT, 0, 0);
    m_strUser.clear();
    if (!m_pStore) return;
    for (int n = 0; n < m_pStore->m_childAccounts.GetCount(); ++n)
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_pStore->m_childAccounts.GetName(n).c_str()));
    if (m_pStore->m_childAccounts.GetCount() > 0) {
        ::SendMessageA(hCombo, CB_SETCURSEL, 0, 0);
        m_strUser = m_pStore->m_childAccounts.GetName(0);
    }
}

void CArrangementDlg::ShowWeek() {
    HWND hList = GetDlgItem(IDC_ARR_WEEK);
    const CUserPrj* pUser = m_pStore && !m_strUser.empty() ? m_pStore->m_prjStore.Find(m_strUser) : nullptr;
    for (int nDay = 0; nDay < 7; ++nDay) {
        std::string strText = pUser ? pUser->m_days[nDay].GetSummary() : std::string(" ").append(GetMsgText(144));
        ListView_SetItemText(hList, nDay, 1, strText.data());
    }
    EnableItem(IDC_ARR_SAVE, !m_strUser.empty());
    EnableItem(IDC_ARR_SAVE_FOR, !m_strUser.empty());
    EnableItem(IDC_ARR_HISTORY, !m_strUser.empty());
    EnableItem(IDC_ARR_PROGRAMS, !m_strUser.empty());
}

void CArrangementDlg::EnableConditions(bool bEnable) {
    for (int nId : kConditionIds) EnableItem(nId, bEnable);
    for (int nId = IDC_ARR_LABEL_FIRST; nId <= IDC_ARR_LABEL_LAST; ++nId) EnableItem(nId, bEnable);
}

void CArrangementDlg::SelectComboValue(int nId, int nValue, const char* pszFormat) {
    char szText[16];
    std::snprintf(szText, sizeof szText, pszFormat, nValue);
    // The first item that begins with the text; none matching leaves no selection.
    HWND hCombo = GetDlgItem(nId);
    const LRESULT nIndex = ::SendMessageA(hCombo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(szText));
    ::SendMessageA(hCombo, CB_SETCURSEL, nIndex == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(nIndex), 0);
}

int CArrangementDlg::ComboValue(int nId) const {
    HWND hCombo = GetDlgItem(nId);
    const LRESULT nIndex = ::SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
    if (nIndex == CB_ERR) return 0;  // a stored value none of the items matched
    char szText[16] = {};
    if (::SendMessageA(hCombo, CB_GETLBTEXTLEN, nIndex, 0) >= static_cast<LRESULT>(sizeof szText)) return 0;
    ::SendMessageA(hCombo, CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(szText));
    return std::atoi(szText);
}

void CArrangementDlg::ShowDay() {
    if (m_strUser.empty() || !m_pStore) return;
    const CUserPrj* pUser = m_pStore->m_prjStore.Find(m_strUser);
    if (!pUser) return;
    const CDayPrj& day = pUser->m_days[m_nDay];
    SetDlgItemText(IDC_ARR_DAY_NAME, DayName(m_nDay));
    if (day.m_bForbid == 1 || day.m_bFree == 1) {
        const bool bForbid = day.m_bForbid == 1;
        SetCheck(m_hWnd, IDC_ARR_FORBID, bForbid);
        SetCheck(m_hWnd, IDC_ARR_FREE, !bForbid);
        SetCheck(m_hWnd, IDC_ARR_CONDITIONAL, false);
        EnableConditions(FALSE);
    } else {
        EnableConditions(TRUE);
        SetCheck(m_hWnd, IDC_ARR_CONDITIONAL, true);
        SetCheck(m_hWnd, IDC_ARR_FORBID, false);
        SetCheck(m_hWnd, IDC_ARR_FREE, false);
        // A limit that is off leaves its combo boxes as the previous day left them.
        SetCheck(m_hWnd, IDC_ARR_REST_CHECK, day.m_bRest == 1);
        if (day.m_bRest == 1) {
            SelectComboValue(IDC_ARR_REST_EVERY, day.m_nRestEvery, "%d");
            SelectComboValue(IDC_ARR_REST_MINUTES, day.m_nRestMinutes, "%d");
        }
        SetCheck(m_hWnd, IDC_ARR_TOTAL_CHECK, day.m_bTotalLimit == 1);
        if (day.m_bTotalLimit == 1) {
            SelectComboValue(IDC_ARR_TOTAL_HOURS, day.m_nTotalHours, "%d");
            SelectComboValue(IDC_ARR_TOTAL_MINUTES, day.m_nTotalMinutes, "%d");
        }
        SetCheck(m_hWnd, IDC_ARR_PERIOD_CHECK, day.m_bPeriod == 1);
        if (day.m_bPeriod == 1) {
            SelectComboValue(IDC_ARR_START_HOUR, day.m_nStartHour, "%.2d");
            SelectComboValue(IDC_ARR_START_MINUTE, day.m_nStartMinute, "%.2d");
            SelectComboValue(IDC_ARR_END_HOUR, day.m_nEndHour, "%.2d");
            SelectComboValue(IDC_ARR_END_MINUTE, day.m_nEndMinute, "%.2d");
        }
    }
    ReadUsage();
    RefreshPreview();
}

CDayPrj CArrangementDlg::EditedDay() const {
    CDayPrj day;
    if (const CUserPrj* pUser = m_pStore && !m_strUser.empty() ? m_pStore->m_prjStore.Find(m_strUser) : nullptr)
        day = pUser->m_days[m_nDay];
    ApplyDayControls(ReadControls(), day);
    return day;
}

void CArrangementDlg::RefreshPreview() {
    if (m_strUser.empty()) {
        m_preview = CDayPreview();
        m_strip.SetSpans({});
        SetDlgItemText(IDC_ARR_PREVIEW_TEXT, "");
        SetDlgItemText(IDC_ARR_PREVIEW_PROGRAMS, "");
        return;
    }
    m_preview = CDayPreview::Simulate(EditedDay());
    m_strip.SetSpans(m_preview.Spans());
    SetDlgItemText(IDC_ARR_PREVIEW_TEXT, m_preview.Sentence());
    const std::string strPrograms =
        m_pStore ? CProgramList::DayText(m_pStore->m_programRules.ForUser(m_strUser), m_nDay) : std::string();
    SetDlgItemText(IDC_ARR_PREVIEW_PROGRAMS, strPrograms.empty() ? std::string() : "Programs: " + strPrograms + ".");
}

void CArrangementDlg::ReadUsage() {
    m_nUsage = CheckOf(m_hWnd, IDC_ARR_FORBID) ? USAGE_FORBID : CheckOf(m_hWnd, IDC_ARR_FREE) ? USAGE_FREE : USAGE_CONDITIONAL;
}

DAY_CONTROLS CArrangementDlg::ReadControls() const {
    DAY_CONTROLS c;
    c.nUsage = m_nUsage;
    c.bRest = CheckOf(m_hWnd, IDC_ARR_REST_CHECK);
    c.nRestEvery = ComboValue(IDC_ARR_REST_EVERY);
    c.nRestMinutes = ComboValue(IDC_ARR_REST_MINUTES);
    c.bTotal = CheckOf(m_hWnd, IDC_ARR_TOTAL_CHECK);
    c.nTotalHours = ComboValue(IDC_ARR_TOTAL_HOURS);
    c.nTotalMinutes = ComboValue(IDC_ARR_TOTAL_MINUTES);
    c.bPeriod = CheckOf(m_hWnd, IDC_ARR_PERIOD_CHECK);
    c.nStartHour = ComboValue(IDC_ARR_START_HOUR);
    c.nStartMinute = ComboValue(IDC_ARR_START_MINUTE);
    c.nEndHour = ComboValue(IDC_ARR_END_HOUR);
    c.nEndMinute = ComboValue(IDC_ARR_END_MINUTE);
    return c;
}

bool CArrangementDlg::ValidateDay() {
    const DAY_CHECK check = CheckDayControls(ReadControls(), !m_strUser.empty());
    if (check.bValid) return true;
    ShowMessage(GetMsgText(check.nTextId), GetMsgText(244), MB_OK);
    const int nFocus = check.focus == DAY_FOCUS::REST_CHECK      ? IDC_ARR_REST_CHECK
                       : check.focus == DAY_FOCUS::TOTAL_MINUTES ? IDC_ARR_TOTAL_MINUTES
                                                                 : IDC_ARR_START_HOUR;
    ::SetFocus(GetDlgItem(nFocus));
    return false;
}

void CArrangementDlg::SaveDay() {
    m_bBusy = 1;
    if (ValidateDay() && m_pStore && !m_strUser.empty()) {
        if (CUserPrj* pUser = m_pStore->m_prjStore.Find(m_strUser)) {
            ApplyDayControls(ReadControls(), pUser->m_days[m_nDay]);
            CheckSaved(m_pStore->m_prjStore.Save(), CPrjStore::FILE_NAME, m_hWnd, m_pHost);
        }
        ShowWeek();
    }
    m_bBusy = 0;
}

void CArrangementDlg::SaveForMany() {
    if (!m_pStore || m_strUser.empty()) return;
    m_bBusy = true;
    if (ValidateDay()) {
        std::vector<std::string> children;
        for (int n = 0; n < m_pStore->m_childAccounts.GetCount(); ++n) children.push_back(m_pStore->m_childAccounts.GetName(n));
        CSaveForDlg dlg(this, m_nDay, m_strUser, children);
        const bool bChosen = RunBusy(dlg) == IDOK;
        m_bBusy = true;
        if (bChosen) {
            const int nWritten = ApplyDayControlsTo(ReadControls(), m_pStore->m_prjStore, dlg.m_chosenUsers, dlg.m_bDays);
            const bool bSaved = nWritten == 0 || m_pStore->m_prjStore.Save();
            ShowWeek();
            ShowMessage(bSaved ? SavedForText(dlg.m_chosenUsers, dlg.m_bDays, nWritten) : GetMsgText(420),
                        GetMsgText(418), MB_OK | (bSaved ? MB_ICONINFORMATION : MB_ICONWARNING));
        }
    }
    m_bBusy = false;
}

int CArrangementDlg::ShowMessage(const std::string& strText, const std::string& strCaption, UINT nType) {
    const bool bWasBusy = m_bBusy;
    m_bBusy = true;
    int nResult = 0;
    {
        const CTrayMenuPause trayMenuOff(m_pHost);
        nResult = ::MessageBoxA(m_hWnd, strText.c_str(), strCaption.c_str(), nType);
    }
    m_bBusy = bWasBusy;
    return nResult;
}

void CArrangementDlg::SelectDayRow() {
    HWND hList = GetDlgItem(IDC_ARR_WEEK);
    m_bSelecting = true;
    ListView_SetItemState(hList, m_nDay, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_bSelecting = false;
    ::SetFocus(hList);
    ListView_EnsureVisible(hList, m_nDay, FALSE);
}

void CArrangementDlg::ChooseDay(int nRow) {
    if (nRow == m_nDay || nRow < 0 || nRow > 6) return;
    if (!ValidateDay()) {
        SelectDayRow();
        return;
    }
    // Edits of the day left are dropped without a question.
    m_nDay = nRow;
    ShowDay();
}

void CArrangementDlg::ChooseUser() {
    HWND hCombo = GetDlgItem(IDC_ARR_USER);
    const LRESULT nIndex = ::SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
    if (nIndex == CB_ERR) return;
    std::string strBuffer(static_cast<size_t>(::SendMessageA(hCombo, CB_GETLBTEXTLEN, nIndex, 0)) + 1, '\0');
    ::SendMessageA(hCombo, CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(strBuffer.data()));
    m_strUser = strBuffer.c_str();
    ShowWeek();
    ShowDay();
}

void CArrangementDlg::SwitchUser() {
    if (m_bBusy) return;
    DoSwitchUser();
}

void CArrangementDlg::DoSwitchUser() {
    IControllerHost* pControl = m_pHost;
    if (pControl) {
        if (m_pStore) m_pStore->LoadAccounts();
        pControl->LockDesktop();
        if (m_pLockScreen) m_pLockScreen->ReturnFromEditor();
        if (m_pStore) {
            m_pStore->m_activeUsers.Load();
            pControl->SetMessengerState(m_pStore->m_activeUsers.GetCount() > 0 ? PROGRAM_CHILD : PROGRAM_LOCKED);
        }
    }
    DestroyWindow();
}

INT_PTR CArrangementDlg::RunBusy(CDialog& dlg) {
    m_bBusy = 1;
    INT_PTR nResult = 0;
    {
        const CTrayMenuPause trayMenuOff(m_pHost);
        nResult = dlg.DoModal();
    }
    m_bBusy = 0;
    return nResult;
}

void CArrangementDlg::OpenWebSite() { CSystem::Get().ShellOpen(kWebAddress); }

bool CArrangementDlg::OnCommand(int nId, int nCode, HWND) {
    switch (nId) {
        case IDC_ARR_SAVE:
            if (nCode == BN_CLICKED) SaveDay();
            return true;
        case IDC_ARR_SAVE_FOR:
            if (nCode == BN_CLICKED) SaveForMany();
            return true;
        case IDC_ARR_CONDITIONAL:
        case IDC_ARR_FORBID:
        case IDC_ARR_FREE:
            if (nCode == BN_CLICKED) {
                EnableConditions(nId == IDC_ARR_CONDITIONAL);
                m_nUsage = nId == IDC_ARR_CONDITIONAL ? USAGE_CONDITIONAL : nId == IDC_ARR_FORBID ? USAGE_FORBID : USAGE_FREE;
                RefreshPreview();
            }
            return true;
        case IDC_ARR_REST_CHECK:
        case IDC_ARR_TOTAL_CHECK:
        case IDC_ARR_PERIOD_CHECK:
            if (nCode == BN_CLICKED) RefreshPreview();
            return true;
        case IDC_ARR_REST_EVERY:
        case IDC_ARR_REST_MINUTES:
        case IDC_ARR_TOTAL_HOURS:
        case IDC_ARR_TOTAL_MINUTES:
        case IDC_ARR_START_HOUR:
        case IDC_ARR_START_MINUTE:
            if (nCode == CBN_SELCHANGE) RefreshPreview();
            return true;
        case IDC_ARR_USER:
            if (nCode == CBN_SELENDOK) ChooseUser();
            return true;
        case IDC_ARR_END_HOUR:
        case IDC_ARR_END_MINUTE:
            // A period may end at 24:00 but never later.
            if (nCode != CBN_SELCHANGE) return true;
            if (ComboValue(IDC_ARR_END_HOUR) == 24) ::SendMessageA(GetDlgItem(IDC_ARR_END_MINUTE), CB_SETCURSEL, 0, 0);
            RefreshPreview();
            return true;
        case IDC_ARR_SWITCH_USER:
            if (nCode == BN_CLICKED) DoSwitchUser();
            return true;
        case IDC_ARR_ACCOUNTS:
            if (nCode == BN_CLICKED) {
                m_dlgAccounts.m_pStore = m_pStore;
                RunBusy(m_dlgAccounts);
                FillUserCombo();
                ShowWeek();
                ShowDay();
            }
            return true;
        case IDC_ARR_OPTIONS:
            if (nCode == BN_CLICKED) {
                m_dlgOptions.m_pStore = m_pStore;
                RunBusy(m_dlgOptions);
            }
            return true;
        case IDC_ARR_ABOUT:
            if (nCode == BN_CLICKED) {
                CAboutDlg dlg(this);
                RunBusy(dlg);
            }
            return true;
        case IDC_ARR_HISTORY:
            if (nCode == BN_CLICKED && !m_strUser.empty()) {
                CHistoryDlg dlg(this, m_pStore, m_strUser);
                RunBusy(dlg);
            }
            return true;
        case IDC_ARR_PROGRAMS:
            if (nCode == BN_CLICKED && !m_strUser.empty()) {
                CProgramsDlg dlg(this, m_pStore, m_pHost, m_strUser);
                RunBusy(dlg);
                RefreshPreview();  // the day's programs as saved
            }
            return true;
        case IDC_ARR_MINIMISE:
            if (nCode == BN_CLICKED) PostMessage(WM_SYSCOMMAND, SC_MINIMIZE);
            return true;
        case IDC_TITLE_CLOSE:
            if (nCode == BN_CLICKED) PostMessage(WM_SYSCOMMAND, SC_CLOSE);
            return true;
        case IDC_ARR_LOGO:
        case IDC_ARR_LOGO_TEXT:
            if (nCode == STN_CLICKED) OpenWebSite();
            return true;
        default:
            return false;
    }
}

bool CArrangementDlg::OnSysCommand(UINT nId, LPARAM) {
    IControllerHost* pControl = m_pHost;
    switch (nId & 0xFFF0) {
        case SC_MINIMIZE:
            if (pControl) pControl->MinimiseCurtain();
            return true;
        case SC_CLOSE:
            // Closing the editor ends the program; the companion is told not to bring it back.
            if (pControl) {
                pControl->SetMessengerState(PROGRAM_CLOSED);
                pControl->Quit();
            }
            return true;
        case SC_MAXIMIZE:
            return true;
        default:
            return false;
    }
}

BOOL CArrangementDlg::PreTranslateMessage(MSG* pMsg) {
    if (IsReturnOrEscape(pMsg)) return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

bool CArrangementDlg::OnMessage(UINT nMsg, WPARAM, LPARAM lParam, LRESULT& lResult) {
    if (nMsg == WM_NCHITTEST) {
        if (!HitTestTitleBand(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), m_hWnd,
                              kBandHeight, BandOrigin::Client))
            return false;
        lResult = HTCAPTION;
        return true;
    }
    if (nMsg != WM_NOTIFY) return false;
    const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
    if (pHeader->idFrom != IDC_ARR_WEEK) return false;
    switch (pHeader->code) {
        case LVN_ITEMCHANGED: {
            const auto* pChange = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if (!m_bSelecting && (pChange->uChanged & LVIF_STATE) && (pChange->uNewState & LVIS_SELECTED) &&
                !(pChange->uOldState & LVIS_SELECTED))
                ChooseDay(pChange->iItem);
            break;
        }
        case NM_CLICK:
        case NM_DBLCLK:
        case NM_RCLICK:
        case NM_RDBLCLK:
            // A row stays selected whatever the click hits.
            if (reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem < 0) SelectDayRow();
            break;
        default:
            break;
    }
    lResult = 0;
    return true;
}

bool CArrangementDlg::OnEraseBkgnd(HDC hDC) {
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    ::FillRect(hDC, &rc, m_bkBrush.Get());
    StretchBitmap(hDC, m_band.Get(), RECT{0, 0, rc.right, kBandHeight});
    return true;
}

bool CArrangementDlg::OnPaint() {
    const CPaintDC dc(m_hWnd);
    const HDC hDC = dc.Get();
    // The logo in its static, which is grown to the picture when smaller.
    BITMAP info{};
    HWND hLogo = GetDlgItem(IDC_ARR_LOGO);
    if (m_logo.Get() && hLogo && ::GetObjectA(m_logo.Get(), sizeof info, &info)) {
        RECT rcLogo;
        ::GetWindowRect(hLogo, &rcLogo);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rcLogo), 2);
        if (rcLogo.right - rcLogo.left < info.bmWidth || rcLogo.bottom - rcLogo.top < info.bmHeight)
            ::SetWindowPos(hLogo, nullptr, 0, 0, std::max<int>(rcLogo.right - rcLogo.left, info.bmWidth),
                           std::max<int>(rcLogo.bottom - rcLogo.top, info.bmHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        DrawTransparentBitmap(hDC, m_logo.Get(), rcLogo.left, rcLogo.top, RGB(255, 255, 255));
    }
    const CSelectObject noFill(hDC, ::GetStockObject(NULL_BRUSH));
    {
        // The day's frame holds its controls and the preview under them.
        const CGdiObject<HPEN> framePen(::CreatePen(PS_SOLID, 1, RGB(127, 157, 185)));
        const CSelectObject pen(hDC, framePen.Get());
        ::Rectangle(hDC, SX(6), SY(307), SX(762), SY(545));
        ::Rectangle(hDC, SX(6), SY(554), SX(762), SY(624));
    }
    // The tree line from "Conditional usage" to its three limits.
    const CGdiObject<HPEN> treePen(::CreatePen(PS_SOLID, 1, RGB(172, 168, 153)));
    const CSelectObject pen(hDC, treePen.Get());
    ::MoveToEx(hDC, SX(21), SY(367), nullptr);
    ::LineTo(hDC, SX(21), SY(440));
    for (int y : {385, 412, 440}) {
        ::MoveToEx(hDC, SX(21), SY(y), nullptr);
        ::LineTo(hDC, SX(31), SY(y));
    }
    return true;
}

HBRUSH CArrangementDlg::OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_STATIC && hCtl == GetDlgItem(IDC_ARR_LOGO)) {
        // The window draws the logo there; the static itself draws nothing.
        ::SetBkMode(hDC, TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    if (!m_bkBrush.Get() || (nCtlColor != CTLCOLOR_DLG && nCtlColor != CTLCOLOR_STATIC && nCtlColor != CTLCOLOR_BTN))
        return CDialog::OnCtlColor(hDC, hCtl, nCtlColor);
    ::SetBkColor(hDC, kDialogBkColor);
    return m_bkBrush.Get();
}

void CArrangementDlg::OnDestroy() {
    if (m_pLockScreen) m_pLockScreen->ReleaseAccountWindow(this);
}

void CArrangementDlg::PostNcDestroy() { delete this; }
