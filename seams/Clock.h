// The program's one source of "now", and the local-calendar helpers every part uses.
// Times are counts of seconds since 1970-01-01 00:00 UTC, read in local time.
#pragma once

#include <cstdint>

using TIMESECS = std::int64_t;

// Local calendar fields of a time; nMonth is 1-12, nWeekday 0 = Sunday.
struct CLocalTime {
    int nYear = 1970;
    int nMonth = 1;
    int nDay = 1;
    int nHour = 0;
    int nMinute = 0;
    int nSecond = 0;
    int nWeekday = 4;
};

// What a clock must tell. The program uses the system clock; tests install a fake one.
class IClock {
public:
    virtual ~IClock() = default;
    virtual TIMESECS Now() = 0;
};

class CClock {
public:
    static TIMESECS Now();
    // Replaces the clock everything reads (nullptr: the system clock again). Tests call it, and
    // the editor's preview while it replays a day.
    static void Use(IClock* pClock);
    // The clock everything reads now, so that a replacement can be undone exactly.
    static IClock* Current();

    static CLocalTime ToLocal(TIMESECS t);
    // A time from local fields; whether daylight saving applies is decided by the system.
    static TIMESECS MakeLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond);
    // True when both times fall on the same local date (year, month and day).
    static bool IsSameDate(TIMESECS a, TIMESECS b);
};
