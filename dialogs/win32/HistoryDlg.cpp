// The history window.
#include "dialogs/win32/HistoryDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "controls/win32/DialogFrame.h"
#include "resources/resource.h"
#include "store/DataStore.h"

namespace {
constexpr std::size_t kMostEvents = 200;

std::string WhenText(TIMESECS t) {
    const CLocalTime lt = CClock::ToLocal(t);
    char szText[32];
    std::snprintf(szText, sizeof szText, "%.4d-%.2d-%.2d %.2d:%.2d", lt.nYear, lt.nMonth, lt.nDay, lt.nHour, lt.nMinute);
    return szText;
}
}  // namespace

CHistoryDlg::CHistoryDlg(CWnd* pParent, CDataStore* pStore, std::string strUser)
    : CFramedDialog(IDD_HISTORY, pParent), m_pStore(pStore), m_strUser(std::move(strUser)) {}

BOOL CHistoryDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText("History of " + m_strUser);
    SetDlgItemText(IDC_HISTORY_CAPTION, "Minutes used each day (dark) against the day's allowance (pale), last 28 days:");
    SetDlgItemText(IDC_HISTORY_EVENTS_LABEL, "Events, newest first:");
    m_chart.SubclassDlgItem(IDC_HISTORY_CHART, this);
    if (m_btnClose.SubclassDlgItem(IDOK, this)) ApplyActionButtonLook(m_btnClose, 0);
    if (m_pStore) CDayHistory::CloseEndedDays(*m_pStore, CClock::Now());  // the chart is complete
    RefreshChart();
    FillEvents();
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
    std::string strWhen = "When", strWhat = "Event";
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = strWhen.data();
    column.cx = 110;
    ListView_InsertColumn(hList, 0, &column);
    column.pszText = strWhat.data();
    column.cx = rc.right - 110 - ::GetSystemMetrics(SM_CXVSCROLL);
    ListView_InsertColumn(hList, 1, &column);
    if (!m_pStore || !m_pStore->m_pEventLog) return;
    const std::vector<EVENT_ENTRY> events = m_pStore->m_pEventLog->Newest(m_strUser, kMostEvents);
    for (std::size_t n = 0; n < events.size(); ++n) {
        std::string strTime = WhenText(events[n].tWhen);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(n);
        item.pszText = strTime.data();
        ListView_InsertItem(hList, &item);
        std::string strText = events[n].strText;
        ListView_SetItemText(hList, static_cast<int>(n), 1, strText.data());
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
