// The clock guard.
#include "core/rules/ClockGuard.h"

#include <cstdio>
#include <limits>

#include "core/seams/Events.h"
#include "core/seams/SystemActions.h"

namespace {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::min() / 2;

std::string TimeText(TIMESECS t) {
    const CLocalTime lt = CClock::ToLocal(t);
    char sz[40];
    std::snprintf(sz, sizeof sz, "%04d-%02d-%02d %02d:%02d:%02d", lt.nYear, lt.nMonth, lt.nDay, lt.nHour, lt.nMinute,
                  lt.nSecond);
    return sz;
}

}  // namespace

CClockGuard::CClockGuard() : m_nTimeChangeMs(kNever), m_nJumpSeenMs(-1) {}

CClockGuard::~CClockGuard() { LetZoneGo(); }

void CClockGuard::Start() {
    Rebase(CClock::Now(), CClock::RunningMs());
    LetZoneGo();
    m_strZone = CClock::Zone();
    m_nTimeChangeMs = kNever;
}

void CClockGuard::LetZoneGo() {
    if (!m_strRefusedZone.empty()) CClock::JudgeIn(std::string());
    m_strRefusedZone.clear();
}

void CClockGuard::SetTimeChange() { m_nTimeChangeMs = CClock::RunningMs(); }

TIMESECS CClockGuard::TrueNow() const {
    const std::int64_t nElapsed = CClock::RunningMs() - m_nBaseMs;
    const std::int64_t nSlept = CClock::SleptMs() - m_nBaseSleptMs;
    return m_tBase + (nElapsed > 0 ? nElapsed / 1000 : 0) + (nSlept > 0 ? nSlept / 1000 : 0);
}

bool CClockGuard::IsNear(std::int64_t nMarkMs, std::int64_t nNowMs) const {
    return nMarkMs != kNever && nNowMs - nMarkMs <= NOTICE_WINDOW_MS && nMarkMs - nNowMs <= NOTICE_WINDOW_MS;
}

void CClockGuard::Rebase(TIMESECS tWall, std::int64_t nRunningMs) {
    m_tBase = tWall;
    m_nBaseMs = nRunningMs;
    m_nBaseSleptMs = CClock::SleptMs();
    m_nJumpSeenMs = -1;
}

GUARD_ACTION CClockGuard::Check() {
    const GUARD_ACTION zone = CheckZone();
    const GUARD_ACTION clock = CheckClock();
    return clock != GUARD_ACTION::NONE ? clock : zone;
}

GUARD_ACTION CClockGuard::CheckZone() {
    const std::string strZone = CClock::Zone();
    if (strZone == m_strZone) {
        LetZoneGo();
        return GUARD_ACTION::NONE;
    }
    // Refused before: the calendar is judged in the zone held already, and it is not fought over
    // at every tick.
    if (strZone == m_strRefusedZone) return GUARD_ACTION::NONE;
    // Days, weekdays and periods are local: a new zone would move them as a turned clock does.
    if (CSystem::Get().SetZone(m_strZone) && CClock::Zone() == m_strZone) {
        LetZoneGo();
        CEvents::Record(EVENT_KIND::ZONE_CHANGED, "The time zone was changed and has been set back.");
        return GUARD_ACTION::ZONE_RESTORED;
    }
    // Refused: the system keeps the new zone, but no day ends or begins by it. A day already
    // begun ends at its own midnight, and use is counted by the running clock.
    CEvents::Record(EVENT_KIND::ZONE_NOT_RESTORED,
                    "The time zone was changed and could not be set back; days are still judged in the zone held.");
    m_strRefusedZone = strZone;
    CClock::JudgeIn(m_strZone);
    return GUARD_ACTION::ZONE_NOT_RESTORED;
}

GUARD_ACTION CClockGuard::CheckClock() {
    const TIMESECS tNow = CClock::Now();
    const std::int64_t nRunningMs = CClock::RunningMs();
    const TIMESECS tTrue = TrueNow();
    const TIMESECS d = tNow - tTrue;
    if (d <= JUMP && d >= -JUMP) {
        Rebase(tNow, nRunningMs);
        return GUARD_ACTION::NONE;
    }
    if (m_nJumpSeenMs < 0) m_nJumpSeenMs = nRunningMs;
    if (IsNear(m_nTimeChangeMs, nRunningMs)) {
        m_nTimeChangeMs = kNever;
        const std::string strWhat = "The clock was turned from " + TimeText(tTrue) + " to " + TimeText(tNow);
        // The system's clock shows the system's zone, whatever zone the days are judged in.
        if (CSystem::Get().SetLocalTime(CClock::SystemLocal(tTrue))) {
            Rebase(tTrue, nRunningMs);
            CEvents::Record(EVENT_KIND::CLOCK_TURNED, strWhat + " and has been set back.");
            return GUARD_ACTION::CLOCK_RESTORED;
        }
        // Refused (no right to set the time): the turned clock stays, and use is still counted
        // by the running clock, so the day's use stays true.
        Rebase(tNow, nRunningMs);
        CEvents::Record(EVENT_KIND::CLOCK_NOT_RESTORED, strWhat + "; setting it back was refused.");
        return GUARD_ACTION::CLOCK_NOT_RESTORED;
    }
    if (nRunningMs - m_nJumpSeenMs > NOTICE_WINDOW_MS) {
        // No notice came: not a change of the system time (a jump of the hardware clock, say).
        Rebase(tNow, nRunningMs);
        return GUARD_ACTION::ACCEPTED;
    }
    return GUARD_ACTION::WAITING;
}
