// The time the program was not running while Windows ran on: at a start, a heartbeat younger than
// the system's boot means the program was ended (killed), not shut down with Windows. The time
// since the child's last save was use the child had (the program would have counted it), so it is
// added to the child's day, within the same day.
//
// A run that was told the session ends left a mark (its process id, the logon session, the boot).
// The end was real only when the logon session or the boot changed since: the message itself
// can come from any program, and then the same session ran on and the gap counts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/seams/Clock.h"
#include "core/store/SessionEndMark.h"

class CUsageStore;

class CKillGap {
public:
    // The last heartbeat of the previous run: its wall-clock time (0: none, or an orderly end),
    // the child logged in then ("" when none) and the process that beat; and the mark a run left
    // when it was told the session ends, if any.
    CKillGap(TIMESECS tBeat, std::string strUser, std::uint32_t nBeatPid = 0,
             std::optional<SESSION_END_MARK> sessionEnd = std::nullopt)
        : m_tBeat(tBeat), m_strUser(std::move(strUser)), m_nBeatPid(nBeatPid), m_sessionEnd(sessionEnd) {}

    // True when the previous run ended while Windows kept running, the same logon session too.
    bool WasKilled() const;
    // True when the previous run was told that the session ends and it really did: the logon
    // session or the boot is another one now.
    bool EndedWithTheSession() const;
    // Seconds the gap hid from the program: from the last beat to now (0 when not killed).
    TIMESECS Gap() const;
    // Adds the time since the child's last save to the child's day in use.sta, when the child
    // was using the computer then and it is still the same day; records the event either way
    // (when killed). Returns the seconds added.
    int Account(CUsageStore& usageStore) const;

private:
    // The mark was left by the run whose heartbeat is the last one.
    bool MarkIsTheLastRuns() const { return m_sessionEnd && m_nBeatPid != 0 && m_sessionEnd->nPid == m_nBeatPid; }

    TIMESECS m_tBeat;
    std::string m_strUser;
    std::uint32_t m_nBeatPid;
    std::optional<SESSION_END_MARK> m_sessionEnd;
};
