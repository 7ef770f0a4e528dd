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
    // The same conversions in a zone the clock described earlier (a Zone() text) instead of the
    // system's present one; false when the clock cannot read that zone back.
    virtual bool ToLocalIn(const std::string& /*strZone*/, TIMESECS /*t*/, CLocalTime& /*lt*/) { return false; }
    virtual bool MakeLocalIn(const std::string& /*strZone*/, const CLocalTime& /*fields*/, TIMESECS& /*t*/) {
        return false;
    }
    // Milliseconds the machine has slept or hibernated since it started: what the running clock
    // left out, as the system itself counts it (no message can fake it). 0 where it is not told.
    virtual std::int64_t SleptMs() { return 0; }
};

class CClock {
public:
    // The time the program goes by: the wall clock, less what is held back (see HoldBehind).
    static TIMESECS Now();
    static std::int64_t RunningMs();
    static TIMESECS BootTime();
    static std::int64_t SleptMs();
    static std::string Zone();
    // Replaces the clock everything reads (nullptr: the system clock again). Tests call it, and
    // the editor's preview while it replays a day.
    static void Use(IClock* pClock);
    // The clock everything reads now, so that a replacement can be undone exactly.
    static IClock* Current();

    // Local fields of a time, in the zone the calendar is judged in (see JudgeIn).
    static CLocalTime ToLocal(TIMESECS t);
    // A time from local fields; whether daylight saving applies is decided by the zone.
    static TIMESECS MakeLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond);
    // True when both times fall on the same local date (year, month and day).
    static bool IsSameDate(TIMESECS a, TIMESECS b);

    // Days, weekdays and periods are judged in this zone (a Zone() text) from now on rather than
    // in the system's present one, as far as the clock can read it; "" judges in the system's
    // zone again. The clock guard holds a zone that was changed and could not be set back, so
    // that the change moves no midnight.
    static void JudgeIn(const std::string& strZone);
    static const std::string& JudgedZone();
    // Local fields in the system's present zone, whatever zone the calendar is judged in: what
    // the system's own clock shows, for setting it.
    static CLocalTime SystemLocal(TIMESECS t);

    // From now on the program goes by a time this many seconds behind the wall clock of the
    // clock in use now (0: the wall clock again). The clock guard holds back a turned clock that
    // could not be set back, so that the turn begins no day and opens no period. A clock put in
    // use later (the editor's preview) is not held back.
    static void HoldBehind(TIMESECS nSecs);
    static TIMESECS HeldBehind();
    // The wall clock, whatever is held back.
    static TIMESECS SystemNow();
};

// The platform's real clock: Windows' clock and time zone, or the C runtime's natively.
IClock& RealClock();
