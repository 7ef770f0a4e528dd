// The clock everything reads: the platform's, unless a test installed another.
#include "core/seams/Clock.h"

namespace {
IClock* g_pClock = nullptr;
IClock& Active() { return g_pClock ? *g_pClock : RealClock(); }
}  // namespace

TIMESECS CClock::Now() { return Active().Now(); }
std::int64_t CClock::RunningMs() { return Active().RunningMs(); }
TIMESECS CClock::BootTime() { return Active().BootTime(); }
std::string CClock::Zone() { return Active().Zone(); }

void CClock::Use(IClock* pClock) { g_pClock = pClock; }

IClock* CClock::Current() { return g_pClock; }

CLocalTime CClock::ToLocal(TIMESECS t) { return Active().ToLocal(t); }

TIMESECS CClock::MakeLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) {
    return Active().MakeLocal(nYear, nMonth, nDay, nHour, nMinute, nSecond);
}

bool CClock::IsSameDate(TIMESECS a, TIMESECS b) {
    const CLocalTime la = ToLocal(a);
    const CLocalTime lb = ToLocal(b);
    return la.nYear == lb.nYear && la.nMonth == lb.nMonth && la.nDay == lb.nDay;
}
