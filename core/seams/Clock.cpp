// The clock everything reads: the platform's, unless a test installed another.
#include "core/seams/Clock.h"

namespace {
IClock* g_pClock = nullptr;
IClock& Active() { return g_pClock ? *g_pClock : RealClock(); }
std::string g_strJudgedZone;
TIMESECS g_nHeldSecs = 0;
IClock* g_pHeldClock = nullptr;  // the clock in use when the hold began (nullptr: the real one)
}  // namespace

TIMESECS CClock::Now() {
    const TIMESECS t = Active().Now();
    return g_nHeldSecs != 0 && g_pClock == g_pHeldClock ? t - g_nHeldSecs : t;
}
TIMESECS CClock::SystemNow() { return Active().Now(); }

void CClock::HoldBehind(TIMESECS nSecs) {
    g_nHeldSecs = nSecs;
    g_pHeldClock = g_pClock;
}

TIMESECS CClock::HeldBehind() { return g_pClock == g_pHeldClock ? g_nHeldSecs : 0; }
std::int64_t CClock::RunningMs() { return Active().RunningMs(); }
TIMESECS CClock::BootTime() { return Active().BootTime(); }
std::int64_t CClock::SleptMs() { return Active().SleptMs(); }
std::string CClock::Zone() { return Active().Zone(); }

void CClock::Use(IClock* pClock) { g_pClock = pClock; }

IClock* CClock::Current() { return g_pClock; }

CLocalTime CClock::ToLocal(TIMESECS t) {
    CLocalTime lt;
    if (!g_strJudgedZone.empty() && Active().ToLocalIn(g_strJudgedZone, t, lt)) return lt;
    return Active().ToLocal(t);
}

TIMESECS CClock::MakeLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) {
    if (!g_strJudgedZone.empty()) {
        CLocalTime fields;
        fields.nYear = nYear, fields.nMonth = nMonth, fields.nDay = nDay;
        fields.nHour = nHour, fields.nMinute = nMinute, fields.nSecond = nSecond;
        TIMESECS t = 0;
        if (Active().MakeLocalIn(g_strJudgedZone, fields, t)) return t;
    }
    return Active().MakeLocal(nYear, nMonth, nDay, nHour, nMinute, nSecond);
}

void CClock::JudgeIn(const std::string& strZone) { g_strJudgedZone = strZone; }

const std::string& CClock::JudgedZone() { return g_strJudgedZone; }

CLocalTime CClock::SystemLocal(TIMESECS t) { return Active().ToLocal(t); }

bool CClock::IsSameDate(TIMESECS a, TIMESECS b) {
    const CLocalTime la = ToLocal(a);
    const CLocalTime lb = ToLocal(b);
    return la.nYear == lb.nYear && la.nMonth == lb.nMonth && la.nDay == lb.nDay;
}
