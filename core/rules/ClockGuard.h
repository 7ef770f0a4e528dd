// Notices that the wall clock or the time zone was changed (not a wake from sleep, not a small
// correction) and sets it back, so that no time is gained by turning the clock or moving the
// zone. It runs for the whole life of the program: while locked, at the lock screen, between
// logins.
//
// The truth is the running clock (CClock::RunningMs), which nobody can turn, and the time the
// machine slept, which the system counts itself: the wall clock should have moved as far as both
// together since the last check. A difference of more than 30 seconds is a jump. A jump with a
// time-change notice near it is undone at once; one no notice explains within a little while is
// taken as the new truth. A resume message is no explanation: any program can post one.
//
// A zone that was changed and cannot be set back stays the system's, but the calendar goes on
// being judged in the zone held (CClock::JudgeIn), so the change moves no midnight.
#pragma once

#include <cstdint>
#include <string>

#include "core/seams/Clock.h"

enum class GUARD_ACTION {
    NONE,                // nothing out of the way
    WAITING,             // a jump without an explaining notice yet
    ACCEPTED,            // a jump taken as the new truth (no notice came)
    CLOCK_RESTORED,      // the clock was set back
    CLOCK_NOT_RESTORED,  // the clock should have been set back, but the system refused
    ZONE_RESTORED,       // the zone was set back
    ZONE_NOT_RESTORED,   // the zone should have been set back, but the system refused
};

class CClockGuard {
public:
    static constexpr TIMESECS JUMP = 30;
    // How near (running milliseconds) a notice must be to a jump to explain it.
    static constexpr std::int64_t NOTICE_WINDOW_MS = 20000;

    CClockGuard();
    // The calendar is judged in the system's zone again.
    virtual ~CClockGuard();
    CClockGuard(const CClockGuard&) = delete;
    CClockGuard& operator=(const CClockGuard&) = delete;

    // The clock, the running clock and the zone as they are now become the truth.
    void Start();
    // The zone held true is the one given (the zone of a run that was ended while Windows ran
    // on): when the system's differs, the next check sets it back.
    void HoldZone(const std::string& strZone) {
        LetZoneGo();
        m_strZone = strZone;
    }
    // The system announced a change of the time (now).
    void SetTimeChange();
    // Compares the clock and the zone with the truth, at every tick and after a notice, and
    // sets back what was turned. Every action is recorded as an event.
    GUARD_ACTION Check();

    // The wall-clock time the guard holds true now.
    TIMESECS TrueNow() const;
    // The zone held true; the calendar is judged in it even where the system's differs.
    const std::string& Zone() const { return m_strZone; }

private:
    bool IsNear(std::int64_t nMarkMs, std::int64_t nNowMs) const;
    GUARD_ACTION CheckZone();
    GUARD_ACTION CheckClock();
    void Rebase(TIMESECS tWall, std::int64_t nRunningMs);
    // The calendar judged in the system's zone again.
    void LetZoneGo();

    TIMESECS m_tBase = 0;          // the true wall-clock time at m_nBaseMs
    std::int64_t m_nBaseMs = 0;    // running clock
    std::int64_t m_nBaseSleptMs = 0;  // the time slept, as the system counted it at m_nBaseMs
    std::string m_strZone;
    std::string m_strRefusedZone;  // the system's zone that could not be set back; "" none
    std::int64_t m_nTimeChangeMs;  // running clock at the last notice; far in the past: none
    std::int64_t m_nJumpSeenMs;    // running clock when an unexplained jump was first seen; -1 none
};
