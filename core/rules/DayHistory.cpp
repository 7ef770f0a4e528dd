// Closing a child's day into history.csv.
#include "core/rules/DayHistory.h"

#include <algorithm>

#include "core/rules/ExtraTime.h"
#include "core/rules/LocalDay.h"
#include "core/rules/UsageContext.h"
#include "core/store/DataStore.h"
#include "core/store/HistoryFile.h"
#include "core/store/ProgramRuleStore.h"
#include "core/store/ProgramUseStore.h"

namespace {

int WeekdayOf(int nDate) {
    return CClock::ToLocal(CClock::MakeLocal(nDate / 10000, nDate / 100 % 100, nDate % 100, 12, 0, 0)).nWeekday;
}

// The minutes the child's rule of the program allows on the date's weekday (-1 for no limit or
// for a program without a rule any more).
int AllowedProgramMinutes(const CProgramRuleStore& rules, const PROGRAM_USE& use) {
    for (const PROGRAM_RULE& rule : rules.ForUser(use.strUser)) {
        if (!SameProgramName(rule.strProgram, use.strProgram)) continue;
        const std::int32_t nSecs = rule.AllowedSecs(WeekdayOf(use.nDate));
        return nSecs < 0 ? -1 : nSecs / 60;
    }
    return -1;
}

}  // namespace

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
    store.m_programRules.Load();
    store.m_programUse.Load();
    if (!CloseProgramDays(store.m_programRules, store.m_programUse, nToday)) bWritten = false;
    return bWritten;
}

bool CDayHistory::CloseProgramDays(const CProgramRuleStore& rules, CProgramUseStore& use, int nToday,
                                   const std::string& strUser) {
    auto ended = [&](const PROGRAM_USE& record) {
        return record.nDate < nToday && (strUser.empty() || record.strUser == strUser);
    };
    std::vector<HISTORY_LINE> lines;
    for (const PROGRAM_USE& record : use.GetList()) {
        if (!ended(record) || (record.nUsedSecs == 0 && record.nEndings == 0)) continue;
        HISTORY_LINE line;
        line.nDate = record.nDate;
        line.strUser = record.strUser;
        line.strProgram = record.strProgram;
        line.nUsedMinutes = record.nUsedSecs / 60;
        line.nAllowedMinutes = AllowedProgramMinutes(rules, record);
        line.nLocks = record.nEndings;
        lines.push_back(line);
    }
    if (lines.empty() && std::none_of(use.GetList().begin(), use.GetList().end(), ended)) return true;
    CHistoryFile history;
    // Days are forgotten only once they are in the file: a failed write keeps them for the next try.
    if (!lines.empty() && !history.Append(lines)) return false;
    use.RemoveIf(ended);
    return use.Save();
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

std::vector<PROGRAM_DAY> CDayHistory::ProgramDays(const CDataStore& store, const std::string& strUser, TIMESECS tNow,
                                                  int nDays) {
    const int nToday = DateKey(tNow);
    CLocalDay today;
    today.Set(tNow);
    const int nFirst = DateKey(today.At(12, 0, 0) - TIMESECS(nDays - 1) * 24 * 3600);
    std::vector<PROGRAM_DAY> days;
    for (const PROGRAM_USE& record : store.m_programUse.GetList()) {
        if (record.strUser != strUser || record.nDate != nToday) continue;
        days.push_back({record.nDate, record.strProgram, record.nUsedSecs / 60,
                        AllowedProgramMinutes(store.m_programRules, record), record.nEndings, true});
    }
    CHistoryFile history;
    history.Load();
    for (const HISTORY_LINE& line : history.Lines()) {
        if (line.strProgram.empty() || line.strUser != strUser || line.nDate < nFirst || line.nDate >= nToday) continue;
        days.push_back({line.nDate, line.strProgram, line.nUsedMinutes, line.nAllowedMinutes, line.nLocks, false});
    }
    std::stable_sort(days.begin(), days.end(), [](const PROGRAM_DAY& a, const PROGRAM_DAY& b) {
        return a.nDate != b.nDate ? a.nDate > b.nDate : a.strProgram < b.strProgram;
    });
    return days;
}
