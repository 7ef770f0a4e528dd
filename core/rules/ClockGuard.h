// Notices that the wall clock or the time zone was changed (not a wake from sleep, not a small
// correction) and keeps the day and the permitted period where they really are. It runs for the
// whole life of the program.
//
// The truth is the running clock (CClock::RunningMs), which nobody can turn, and the time the
// machine slept, which the system counts itself: the wall clock should have moved as far as both
// together since the last check. A difference of more than 30 seconds is a jump. What a jump is
// taken for depends on who could have made it when it was first seen:
//  - no child logged in (the lock screen, the curtain up): only Windows (its time service
//    corrects the clock at boot and now and then) or the parent can reach the clock, so the new
//    time is taken at once, and recorded;
//  - a child logged in: a jump with a time-change notice near it is set back. Where the system
//    refuses (the program has no right to set the time), the program goes on by the true time
//    (CClock::HoldBehind): the turn begins no day and opens no period, until the wall clock comes
//    back or the Administrator logs in. Until the notice comes the true time is held too; a jump
//    no notice explains within a little while is taken as the new truth. A resume message is no
//    explanation: any program can post one.
// Use is counted by the running clock whatever the wall clock says, so a turned clock gains no
// use; what the guard keeps is the calendar.
//
// A zone that was changed is set back whoever was logged in; where it cannot be, it stays the
// system's, but the calendar goes on being judged in the zone held (CClock::JudgeIn), so the
// change moves no midnight.
#pragma once

#include <cstdint>
#include <string>

#include "core/seams/Clock.h"

enum class GUARD_ACTION {
    NONE,                // nothing out of the way
    WAITING,             // a jump while a child is logged in, without an explaining notice yet
    ACCEPTED,            // a jump taken as the new truth (nobody logged in, or no notice came)
    CLOCK_RESTORED,      // the clock was set back
    CLOCK_NOT_RESTORED,  // the clock should have been set back, but the system refused: held back
    ZONE_RESTORED,       // the zone was set back
    ZONE_NOT_RESTORED,   // the zone should have been set back, but the system refused
};

class CClockGuard {
public:
    static constexpr TIMESECS JUMP = 30;
    // How near (running milliseconds) a notice must be to a jump to explain it.
    static constexpr std::int64_t NOTICE_WINDOW_MS = 20000;

    // Who could have turned the clock at a check.
    enum WATCH {
        NOBODY,  // no account's window is open: the lock screen
        CHILD,   // a child is logged in (locked or not)
    };

    CClockGuard();
    // The calendar is judged in the system's zone and by the wall clock again.
    virtual ~CClockGuard();
    CClockGuard(const CClockGuard&) = delete;
    CClockGuard& operator=(const CClockGuard&) = delete;

    // The clock, the running clock and the zone as they are now become the truth (the
    // Administrator is logged in: both are the parent's to set).
    void Start();
    // The zone held true is the one given (the zone of a run that was ended while Windows ran
    // on): when the system's differs, the next check sets it back.
    void HoldZone(const std::string& strZone) {
        LetZoneGo();
        m_strZone = strZone;
    }
    // The system announced a change of the time (now).
    void SetTimeChange();
    // Compares the clock and the zone with the truth, at every tick and after a notice, and acts
    // as the rules above say. Every action is recorded as an event.
    GUARD_ACTION Check(WATCH watch);

    // The wall-clock time the guard holds true now.
    TIMESECS TrueNow() const;
    // The zone held true; the calendar is judged in it even where the system's differs.
    const std::string& Zone() const { return m_strZone; }

private:
    bool IsNear(std::int64_t nMarkMs, std::int64_t nNowMs) const;
    GUARD_ACTION CheckZone();
    GUARD_ACTION CheckClock(WATCH watch);
    // A jump a child could have made: set back, or held back where that is refused.
    GUARD_ACTION SetBack(TIMESECS tWall, TIMESECS tTrue, std::int64_t nRunningMs);
    // The wall clock is the truth from now on.
    void TakeWallClock(TIMESECS tWall, std::int64_t nRunningMs);
    void Rebase(TIMESECS tTrue, std::int64_t nRunningMs);
    // The program goes by a time this far behind the wall clock (0: the wall clock).
    void HoldBehind(TIMESECS nSecs);
    // The calendar judged in the system's zone again.
    void LetZoneGo();

    TIMESECS m_tBase = 0;          // the true wall-clock time at m_nBaseMs
    std::int64_t m_nBaseMs = 0;    // running clock
    std::int64_t m_nBaseSleptMs = 0;  // the time slept, as the system counted it at m_nBaseMs
    TIMESECS m_nTurnedSecs = 0;    // a turn that could not be set back: the wall clock ahead of the truth
    TIMESECS m_nHeldSecs = 0;      // how far CClock is held back now (the turn, or a jump awaiting its notice)
    std::string m_strZone;
    std::string m_strRefusedZone;  // the system's zone that could not be set back; "" none
    std::int64_t m_nTimeChangeMs;  // running clock at the last notice; far in the past: none
    std::int64_t m_nJumpSeenMs;    // running clock when an unexplained jump was first seen; -1 none
    WATCH m_jumpSeenBy = NOBODY;   // who was logged in when it was first seen
};
