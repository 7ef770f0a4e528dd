// The editor's day checks and the writing of a day.
#include "core/rules/DayControls.h"

#include "core/store/DayPrj.h"
#include "core/store/PrjStore.h"
#include "core/texts/MsgText.h"

DAY_CHECK CheckDayControls(const DAY_CONTROLS& c, bool bHasUser) {
    if (!bHasUser || c.nUsage != USAGE_CONDITIONAL) return {};
    if (!c.bRest && !c.bTotal && !c.bPeriod) return {false, 184, DAY_FOCUS::REST_CHECK};
    if (c.bTotal && c.nTotalHours * 60 + c.nTotalMinutes == 0) return {false, 188, DAY_FOCUS::TOTAL_MINUTES};
    if (c.bPeriod && c.nStartHour * 60 + c.nStartMinute >= c.nEndHour * 60 + c.nEndMinute)
        return {false, 186, DAY_FOCUS::START_HOUR};
    return {};
}

void ApplyDayControls(const DAY_CONTROLS& c, CDayPrj& day) {
    day.m_bForbid = 0;
    day.m_bFree = 0;
    day.ClearLimits();
    switch (c.nUsage) {
        case USAGE_FORBID:
            day.m_bForbid = 1;
            break;
        case USAGE_FREE:
            day.m_bFree = 1;
            break;
        default:
            if (c.bRest) {
                day.m_bRest = 1;
                day.m_nRestEvery = c.nRestEvery;
                day.m_nRestMinutes = c.nRestMinutes;
            }
            if (c.bTotal) {
                day.m_bTotalLimit = 1;
                day.m_nTotalHours = c.nTotalHours;
                day.m_nTotalMinutes = c.nTotalMinutes;
            }
            if (c.bPeriod) {
                day.m_bPeriod = 1;
                day.m_nStartHour = c.nStartHour;
                day.m_nStartMinute = c.nStartMinute;
                day.m_nEndHour = c.nEndHour;
                day.m_nEndMinute = c.nEndMinute;
            }
            break;
    }
}

int ApplyDayControlsTo(const DAY_CONTROLS& controls, CPrjStore& store, const std::vector<std::string>& users,
                       const std::array<bool, 7>& days) {
    int nWritten = 0;
    for (const std::string& strUser : users) {
        CUserPrj* pWeek = store.Find(strUser);
        if (!pWeek) continue;
        for (std::size_t nDay = 0; nDay < days.size(); ++nDay) {
            if (!days[nDay]) continue;
            ApplyDayControls(controls, pWeek->m_days[nDay]);
            ++nWritten;
        }
    }
    return nWritten;
}

namespace {
// "a", "a and b", "a, b and c".
std::string ListOf(const std::vector<std::string>& items) {
    std::string strText;
    for (std::size_t n = 0; n < items.size(); ++n) {
        if (n > 0) strText += n + 1 == items.size() ? " and " : ", ";
        strText += items[n];
    }
    return strText;
}
}  // namespace

std::string SavedForText(const std::vector<std::string>& users, const std::array<bool, 7>& days, int nWritten) {
    if (nWritten == 0) return "Nothing was saved: no day or no child was ticked.";
    std::vector<std::string> dayNames;
    for (std::size_t nDay = 0; nDay < days.size(); ++nDay)
        if (days[nDay]) dayNames.push_back(GetMsgText(126 + 2 * static_cast<unsigned>(nDay)));
    return "Saved to " + ListOf(dayNames) + " for " + ListOf(users) + ".";
}
