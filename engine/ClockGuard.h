// Notices that the system clock was turned (not a wake from sleep) while a child is logged in,
// and turns it back, so no time is gained by changing the clock.
#pragma once

#include "seams/Clock.h"

class CClockGuard {
public:
    static constexpr int HISTORY = 20;

    CClockGuard();
    virtual ~CClockGuard() = default;

    // Every history entry becomes t.
    void Fill(TIMESECS t);
    // Adds the time of a tick as the newest entry, dropping the oldest.
    void Push(TIMESECS t);
    // The system announced a change of the time / a resume from sleep, at time t.
    void SetTimeChange(TIMESECS t);
    void SetResume(TIMESECS t);
    // Called after each Push. A jump of more than 30 seconds between two ticks that came with a
    // time-change notice and without a resume is undone; true when it acted on such a jump.
    bool CheckAndRestore();

private:
    bool IsNear(TIMESECS t) const;
    void ClearMarks();

    // Index 0 is the newest tick.
    TIMESECS m_tHistory[HISTORY];
    TIMESECS m_tTimeChange;
    TIMESECS m_tResume;
};
