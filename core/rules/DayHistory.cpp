// Closing a child's day into history.csv.
#include "core/rules/DayHistory.h"

#include <algorithm>

#include "core/rules/ExtraTime.h"
#include "core/rules/LocalDay.h"
#include "core/rules/UsageContext.h"
#include "core/store/DataStore.h"
#include "core/store/HistoryFile.h"

int CDayHistory::AllowedMinutes(const CDayPrj& day) {
    if (day.m_bForbid != 0) return 0;
    int nMinutes = 24 * 60;
    if (day.m_bFree != 0) return nMinutes;
    if (day.m_bTotalLimit == 1) nMinutes = std::min(nMinutes, day.m_nTotalHours * 60 + day.m_nTotalMinutes);
    if (day.m_bPeriod == 1)
        nMinutes = std::min(nMinutes, std::max(0, (day.m_nEndHour - day.m_nStartHour) * 60 + day.m_nEndMinute -
                                                      day.m_nStartMinute));
    return std::max(0, nMinutes);
}

bool CDayHistory::CloseDay(const CUsageContext& context) {
    if (!context.TodayPrj()) return false;
    HISTORY_LINE line;
    line.nDate = DateKey(context.SessionTime());
    line.strUser = context.User();
    line.nUsedMinutes = context.UsedSecs() / 60;
    line.nAllowedMinutes = AllowedMinutes(*context.TodayPrj());
    line.nLocks = context.Locks();
    line.nExtraMinutes = context.ExtraGrantedSecs() / 60;
    CHistoryFile history;
    return history.Append(line);
}

bool CDayHistory::CloseEndedDays(CDataStore& store, TIMESECS tNow) {
    store.m_usageStore.Load();
    store.m_prjStore.Load();
    store.m_extraTime.Load();
    CHistoryFile history;
    history.Load();
    const int nToday = DateKey(tNow);
    bool bWritten = true;
    for (const USAGE_RECORD& record : store.m_usageStore.GetList()) {
        const int nDate = DateKey(record.tLastSave);
        if (record.tLastSave <= 0 || nDate >= nToday || history.Has(nDate, record.strUser)) continue;
        const CUserPrj* pWeek = store.m_prjStore.Find(record.strUser);
        if (!pWeek) continue;  // not a child of this household any more
        HISTORY_LINE line;
        line.nDate = nDate;
        line.strUser = record.strUser;
        line.nUsedMinutes = record.nUsedSecs / 60;
        line.nAllowedMinutes = AllowedMinutes(pWeek->m_days[CClock::ToLocal(record.tLastSave).nWeekday]);
        if (const EXTRA_RECORD* pExtra = store.m_extraTime.Find(record.strUser); pExtra && pExtra->nDate == nDate) {
            line.nLocks = pExtra->nLocks;
            line.nExtraMinutes = pExtra->nGrantedSecs / 60;
        }
        if (!history.Append(line)) bWritten = false;
    }
    return bWritten;
}

std::vector<CHART_DAY> CDayHistory::LastDays(const CDataStore& store, const std::string& strUser, TIMESECS tNow,
                                             int nDays) {
    CHistoryFile history;
    history.Load();
    CLocalDay today;
    today.Set(tNow);
    const TIMESECS tNoon = today.At(12, 0, 0);  // a day back from noon is never the same date
    std::vector<CHART_DAY> days;
    for (int nBack = nDays - 1; nBack >= 0; --nBack) {
        CHART_DAY day;
        day.nDate = DateKey(tNoon - TIMESECS(nBack) * 24 * 3600);
        for (const HISTORY_LINE& line : history.Lines()) {
            if (line.nDate != day.nDate || line.strUser != strUser) continue;
            day.nUsedMinutes = line.nUsedMinutes;
            day.nAllowedMinutes = line.nAllowedMinutes;
            day.bKnown = true;
        }
        days.push_back(day);
    }
    CHART_DAY& last = days.back();
    last.bToday = true;
    if (const CUserPrj* pWeek = store.m_prjStore.Find(strUser)) {
        last.nAllowedMinutes = AllowedMinutes(pWeek->m_days[CClock::ToLocal(tNow).nWeekday]);
        last.bKnown = true;
    }
    for (const USAGE_RECORD& record : store.m_usageStore.GetList())
        if (record.strUser == strUser && CClock::IsSameDate(record.tLastSave, tNow)) last.nUsedMinutes = record.nUsedSecs / 60;
    return days;
}
