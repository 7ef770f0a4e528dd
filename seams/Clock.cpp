// The system clock and the local-calendar conversions of the C runtime.
#include "seams/Clock.h"

#include <ctime>

namespace {

class CSystemClock final : public IClock {
public:
    TIMESECS Now() override { return static_cast<TIMESECS>(std::time(nullptr)); }
};

CSystemClock g_systemClock;
IClock* g_pClock = &g_systemClock;

bool LocalTm(TIMESECS t, std::tm& out) {
    const std::time_t tt = static_cast<std::time_t>(t);
#ifdef _WIN32
    return localtime_s(&out, &tt) == 0;
#else
    return localtime_r(&tt, &out) != nullptr;
#endif
}

}  // namespace

TIMESECS CClock::Now() { return g_pClock->Now(); }

void CClock::Use(IClock* pClock) { g_pClock = pClock ? pClock : &g_systemClock; }

IClock* CClock::Current() { return g_pClock; }

CLocalTime CClock::ToLocal(TIMESECS t) {
    std::tm tm{};
    CLocalTime lt;
    if (!LocalTm(t, tm)) return lt;
    lt.nYear = tm.tm_year + 1900;
    lt.nMonth = tm.tm_mon + 1;
    lt.nDay = tm.tm_mday;
    lt.nHour = tm.tm_hour;
    lt.nMinute = tm.tm_min;
    lt.nSecond = tm.tm_sec;
    lt.nWeekday = tm.tm_wday;
    return lt;
}

TIMESECS CClock::MakeLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) {
    std::tm tm{};
    tm.tm_year = nYear - 1900;
    tm.tm_mon = nMonth - 1;
    tm.tm_mday = nDay;
    tm.tm_hour = nHour;
    tm.tm_min = nMinute;
    tm.tm_sec = nSecond;
    tm.tm_isdst = -1;
    return static_cast<TIMESECS>(std::mktime(&tm));
}

bool CClock::IsSameDate(TIMESECS a, TIMESECS b) {
    const CLocalTime la = ToLocal(a);
    const CLocalTime lb = ToLocal(b);
    return la.nYear == lb.nYear && la.nMonth == lb.nMonth && la.nDay == lb.nDay;
}
