// The editor's day checks and the writing of a day.
#include "settings/DayControls.h"

#include "store/DayPrj.h"

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
