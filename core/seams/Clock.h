// The program's one source of "now", of elapsed running time, and of the local calendar.
// Times are counts of seconds since 1970-01-01 00:00 UTC; local time is UTC in the clock's zone.
#pragma once

#include <cstdint>
#include <string>

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

// What a clock must tell. The program uses the system's clock and time zone; tests install a fake.
class IClock {
public:
    virtual ~IClock() = default;
    // The wall clock (UTC seconds); anyone may turn it.
    virtual TIMESECS Now() = 0;
    // Milliseconds of a clock nobody can turn, which stands still while the machine sleeps:
    // what has really passed between two readings of one boot.
    virtual std::int64_t RunningMs() = 0;
    // The wall-clock time at which the system started (Now minus the time it has been up).
    virtual TIMESECS BootTime() = 0;
    // The time zone: local fields of a time, and the time of local fields (daylight saving
    // decided by the zone's rules).
    virtual CLocalTime ToLocal(TIMESECS t) = 0;
    virtual TIMESECS MakeLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) = 0;
    // What identifies the zone and its rules, so that a change of zone can be seen and undone
    // (given back to the system actions' SetZone). It does not change at a daylight-saving switch.
    virtual std::string Zone() = 0;
};

class CClock {
public:
    static TIMESECS Now();
    static std::int64_t RunningMs();
    static TIMESECS BootTime();
    static std::string Zone();
    // Replaces the clock everything reads (nullptr: the system clock again). Tests call it, and
    // the editor's preview while it replays a day.
    static void Use(IClock* pClock);
    // The clock everything reads now, so that a replacement can be undone exactly.
    static IClock* Current();

    static CLocalTime ToLocal(TIMESECS t);
    // A time from local fields; whether daylight saving applies is decided by the zone.
    static TIMESECS MakeLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond);
    // True when both times fall on the same local date (year, month and day).
    static bool IsSameDate(TIMESECS a, TIMESECS b);
};

// The platform's real clock: Windows' clock and time zone, or the C runtime's natively.
IClock& RealClock();
