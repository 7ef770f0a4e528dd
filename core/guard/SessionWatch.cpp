// The watch over one session's program.
#include "core/guard/SessionWatch.h"

#include <algorithm>

void CSessionWatch::OnStarted(unsigned long nPid, std::int64_t nNowMs) {
    // A start after which nothing ever beat counts as failed; the next one waits longer.
    m_nFailedStarts = m_bStarted && !m_bBeatSinceStart ? m_nFailedStarts + 1 : 0;
    m_bStarted = true;
    m_bBeatSinceStart = false;
    m_nPid = nPid;
    m_nStartedMs = nNowMs;
    if (m_nState == 0) m_nState = 1;
}

void CSessionWatch::OnBeat(unsigned long nPid, const std::string& strUser, TIMESECS tWall, std::int64_t nNowMs) {
    // A program the guard did not start (from the Start menu, say) is watched as well.
    m_nPid = nPid;
    m_nLastBeatMs = nNowMs;
    m_bBeatSinceStart = true;
    m_nFailedStarts = 0;
    m_strUser = strUser;
    m_tLastBeat = tWall;
    if (m_nState == 0) m_nState = 1;
}

void CSessionWatch::OnState(int nState) {
    m_nState = nState;
    if (nState == 0) m_tLastBeat = 0;
}

std::int64_t CSessionWatch::PauseBeforeStart() const {
    if (m_nFailedStarts == 0) return 0;
    return std::min<std::int64_t>(kMaxPauseMs, std::int64_t(1000) << std::min(m_nFailedStarts - 1, 5));
}

WATCH_ACTION CSessionWatch::Decide(bool bAlive, bool bAdministratorIn, std::int64_t nNowMs) const {
    const bool bOnPurpose = m_nState == 3 || (m_nState == 4 && bAdministratorIn);
    if (!bAlive) {
        if (bOnPurpose) return WATCH_ACTION::NONE;
        return !m_bStarted || nNowMs - m_nStartedMs >= PauseBeforeStart() ? WATCH_ACTION::START : WATCH_ACTION::NONE;
    }
    const std::int64_t nLastSign = std::max(m_nStartedMs, m_bBeatSinceStart ? m_nLastBeatMs : m_nStartedMs);
    const std::int64_t nBound = m_bBeatSinceStart || !m_bStarted ? kBeatTimeoutMs : kFirstBeatGraceMs;
    return nNowMs - nLastSign > nBound ? WATCH_ACTION::RESTART : WATCH_ACTION::NONE;
}
