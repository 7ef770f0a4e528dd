// The time the program was not running while Windows ran on: at a start, a heartbeat younger than
// the system's boot means the program was ended (killed), not shut down with Windows. The time
// since the child's last save was use the child had (the program would have counted it), so it is
// added to the child's day, within the same day.
#pragma once

#include <string>

#include "core/seams/Clock.h"

class CUsageStore;

class CKillGap {
public:
    // The last heartbeat of the previous run: its wall-clock time (0: none, or an orderly end)
    // and the child logged in then ("" when none).
    CKillGap(TIMESECS tBeat, std::string strUser) : m_tBeat(tBeat), m_strUser(std::move(strUser)) {}

    // True when the previous run ended while Windows kept running.
    bool WasKilled() const;
    // Seconds the gap hid from the program: from the last beat to now (0 when not killed).
    TIMESECS Gap() const;
    // Adds the time since the child's last save to the child's day in use.sta, when the child
    // was using the computer then and it is still the same day; records the event either way
    // (when killed). Returns the seconds added.
    int Account(CUsageStore& usageStore) const;

private:
    TIMESECS m_tBeat;
    std::string m_strUser;
};
