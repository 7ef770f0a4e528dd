// Extra time: the choices' seconds and texts.
#include "core/rules/ExtraTime.h"

#include <cstdio>

#include "core/rules/LocalDay.h"
#include "core/rules/UsageState.h"
#include "core/store/UsageRecord.h"

int ExtraGrantSeconds(EXTRA_GRANT grant, TIMESECS tNow) {
    switch (grant) {
        case EXTRA_GRANT::MINUTES_15: return 15 * 60;
        case EXTRA_GRANT::MINUTES_30: return 30 * 60;
        case EXTRA_GRANT::HOUR_1: return 60 * 60;
        case EXTRA_GRANT::REST_OF_DAY: {
            CLocalDay day;
            day.Set(tNow);
            return static_cast<int>(day.Next() - tNow);
        }
    }
    return 0;
}

std::string ExtraGrantName(EXTRA_GRANT grant) {
    switch (grant) {
        case EXTRA_GRANT::MINUTES_15: return "+15 min";
        case EXTRA_GRANT::MINUTES_30: return "+30 min";
        case EXTRA_GRANT::HOUR_1: return "+1 hour";
        case EXTRA_GRANT::REST_OF_DAY: return "the rest of today";
    }
    return std::string();
}

std::string ExtraTimeLine(int nSecsLeft) {
    if (nSecsLeft <= 0) return std::string();
    char szText[64];
    std::snprintf(szText, sizeof szText, "Extra time today: %.2d:%.2d:%.2d left", nSecsLeft / 3600, nSecsLeft / 60 % 60,
                  nSecsLeft % 60);
    return szText;
}

bool MayAskForMoreTime(const USAGE_RECORD* pRecord, TIMESECS tNow) {
    return pRecord && CClock::IsSameDate(pRecord->tLastSave, tNow) &&
           (pRecord->nStateId == STATE_TOTAL_USED_UP || pRecord->nStateId == STATE_OUT_OF_PERIOD);
}

int DateKey(TIMESECS t) {
    const CLocalTime lt = CClock::ToLocal(t);
    return lt.nYear * 10000 + lt.nMonth * 100 + lt.nDay;
}
