// The history window.
#include "win/windows/HistoryDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "core/store/DataStore.h"
#include "core/store/EventLog.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/controls/WinUtilities.h"

namespace {
constexpr std::size_t kMostEvents = 200;

// The events of the log that concern the child or the whole program (no account), newest first.
std::vector<EVENT_ENTRY> EventsFor(const std::string& strUser) {
    std::vector<EVENT_ENTRY> all = CEventLog::ReadAll();
    std::vector<EVENT_ENTRY> events;
    for (auto it = all.rbegin(); it != all.rend() && events.size() < kMostEvents; ++it)
        if (it->strAccount == strUser || it->strAccount == "-") events.push_back(std::move(*it));
    return events;
}
}  // namespace

CHistoryDlg::CHistoryDlg(CWnd* pParent, CDataStore* pStore, std::string strUser)
    : CFramedDialog(IDD_HISTORY, pParent), m_pStore(pStore), m_strUser(std::move(strUser)) {}

BOOL CHistoryDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText("History of " + m_strUser);
    SetDlgItemText(IDC_HISTORY_CAPTION, "Minutes used each day (dark) against the day's allowance (pale), last 28 days:");
    SetDlgItemText(IDC_HISTORY_EVENTS_LABEL, "Events, newest first:");
    SetDlgItemText(IDC_HISTORY_PROGRAMS_LABEL, "Programs with a rule, minutes in front each day, newest first:");
    m_chart.SubclassDlgItem(IDC_HISTORY_CHART, this);
    if (m_btnClose.SubclassDlgItem(IDOK, this)) ApplyActionButtonLook(m_btnClose, 0);
    if (m_pStore) CDayHistory::CloseEndedDays(*m_pStore, CClock::Now());  // the chart is complete
    RefreshChart();
    FillEvents();
    FillPrograms();
    SetTimer(kLiveTimer, 2000);
    return TRUE;
}

void CHistoryDlg::RefreshChart() {
    if (!m_pStore) return;
    m_pStore->m_usageStore.Load();
    std::vector<CHART_DAY> days = CDayHistory::LastDays(*m_pStore, m_strUser, CClock::Now(), kDays);
    m_bEmpty = std::none_of(days.begin(), days.end() - 1, [](const CHART_DAY& day) { return day.bKnown; }) &&
               days.back().nUsedMinutes == 0;
    ::ShowWindow(GetDlgItem(IDC_HISTORY_CHART), m_bEmpty ? SW_HIDE : SW_SHOW);
    ::ShowWindow(GetDlgItem(IDC_HISTORY_CAPTION), m_bEmpty ? SW_HIDE : SW_SHOW);
    ::ShowWindow(GetDlgItem(IDC_HISTORY_EMPTY), m_bEmpty ? SW_SHOW : SW_HIDE);
    SetDlgItemText(IDC_HISTORY_EMPTY, "Nothing has been recorded for " + m_strUser +
                                          " yet: the chart appears after the first day of use.");
    m_chart.SetDays(std::move(days));
}

void CHistoryDlg::FillEvents() {
    HWND hList = GetDlgItem(IDC_HISTORY_EVENTS);
    ListView_SetExtendedListViewStyle(hList, LVS_EX_FULLROWSELECT);
    RECT rc{};
    ::GetClientRect(hList, &rc);
    InsertListColumn(hList, 0, "When", 110);
    InsertListColumn(hList, 1, "Event", rc.right - 110 - ::GetSystemMetrics(SM_CXVSCROLL));
    const std::vector<EVENT_ENTRY> events = EventsFor(m_strUser);
    for (std::size_t n = 0; n < events.size(); ++n) {
        std::string strTime = events[n].strTime;
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(n);
        item.pszText = strTime.data();
        ListView_InsertItem(hList, &item);
        std::string strText = events[n].strKind + ": " + events[n].strDetail;
        ListView_SetItemText(hList, static_cast<int>(n), 1, strText.data());
    }
}

void CHistoryDlg::FillPrograms() {
    HWND hList = GetDlgItem(IDC_HISTORY_PROGRAMS);
    ListView_SetExtendedListViewStyle(hList, LVS_EX_FULLROWSELECT);
    RECT rc{};
    ::GetClientRect(hList, &rc);
    const int cxDay = 80, cxNumber = 76, cxEndings = 64;
    InsertListColumn(hList, 0, "Day", cxDay);
    InsertListColumn(hList, 1, "Program", rc.right - cxDay - 2 * cxNumber - cxEndings - ::GetSystemMetrics(SM_CXVSCROLL));
    InsertListColumn(hList, 2, "Minutes", cxNumber);
    InsertListColumn(hList, 3, "Allowed", cxNumber);
    InsertListColumn(hList, 4, "Ended", cxEndings);
    if (!m_pStore) return;
    const std::vector<PROGRAM_DAY> days = CDayHistory::ProgramDays(*m_pStore, m_strUser, CClock::Now(), kDays);
    for (std::size_t n = 0; n < days.size(); ++n) {
        const PROGRAM_DAY& day = days[n];
        char szDate[16];
        std::snprintf(szDate, sizeof szDate, "%.4d-%.2d-%.2d", day.nDate / 10000, day.nDate / 100 % 100, day.nDate % 100);
        InsertListRow(hList, static_cast<int>(n),
                      {day.bToday ? std::string("today") : std::string(szDate), day.strProgram,
                       std::to_string(day.nUsedMinutes), day.nAllowedMinutes < 0 ? "no limit" : std::to_string(day.nAllowedMinutes),
                       day.nEndings ? std::to_string(day.nEndings) + (day.nEndings == 1 ? " time" : " times") : ""});
    }
}

bool CHistoryDlg::OnTimer(UINT_PTR nId) {
    if (nId != kLiveTimer) return false;
    RefreshChart();  // today's bar as use.sta has it now
    return true;
}

void CHistoryDlg::OnDestroy() {
    KillTimer(kLiveTimer);
    CFramedDialog::OnDestroy();
}
