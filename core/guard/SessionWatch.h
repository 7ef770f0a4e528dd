// The guard's watch over the program in one Windows session: it starts the program when none
// runs there, and ends and restarts one whose heartbeat stood still (suspended or hung). A program
// that keeps ending before its first beat is started again after a growing pause, so that a
// broken installation is not started many times a second. The process itself (alive or not) is
// the platform's to tell; this decides.
#pragma once

#include <cstdint>
#include <string>

#include "core/seams/Clock.h"

enum class WATCH_ACTION {
    NONE,
    START,    // no program runs in the session: start one
    RESTART,  // the program has not beaten for too long: end it, then start one
};

class CSessionWatch {
public:
    static constexpr std::int64_t kBeatTimeoutMs = 5000;
    // A program just started may take this long to beat for the first time.
    static constexpr std::int64_t kFirstBeatGraceMs = 10000;
    static constexpr std::int64_t kMaxPauseMs = 30000;

    // The guard started the program in process nPid.
    void OnStarted(unsigned long nPid, std::int64_t nNowMs);
    // The session's program beat: its process, the child logged in ("" none), the guard's time.
    void OnBeat(unsigned long nPid, const std::string& strUser, TIMESECS tWall, std::int64_t nNowMs);
    // The program's state. 3 (closed by the Administrator) means its end is on purpose until the
    // session ends; 4 (the Administrator logged in) while bAdministratorIn holds; 0 is an orderly
    // end (Windows ends the session), after which no gap is counted.
    void OnState(int nState);
    // What to do now, given whether the watched process is alive and whether the Administrator's
    // proof is still good.
    WATCH_ACTION Decide(bool bAlive, bool bAdministratorIn, std::int64_t nNowMs) const;

    // The process watched (0 when none is known).
    unsigned long Pid() const { return m_nPid; }
    // The child logged in at the last beat ("" none), and the guard's time of that beat (0 when
    // the program ended in order or never beat): what the gap after it is counted against.
    const std::string& User() const { return m_strUser; }
    TIMESECS LastBeat() const { return m_tLastBeat; }
    // The gap was counted: it is not counted again.
    void GapCounted() { m_tLastBeat = 0; }
    int State() const { return m_nState; }

private:
    std::int64_t PauseBeforeStart() const;

    unsigned long m_nPid = 0;
    std::int64_t m_nStartedMs = 0;
    std::int64_t m_nLastBeatMs = 0;
    bool m_bStarted = false;
    bool m_bBeatSinceStart = false;
    int m_nFailedStarts = 0;
    int m_nState = 1;
    std::string m_strUser;
    TIMESECS m_tLastBeat = 0;
};
