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

CClockGuard::~CClockGuard() {
    LetZoneGo();
    HoldBehind(0);
}

void CClockGuard::Start() {
    m_nTurnedSecs = 0;
    HoldBehind(0);
    Rebase(CClock::SystemNow(), CClock::RunningMs());
    LetZoneGo();
    m_strZone = CClock::Zone();
    m_nTimeChangeMs = kNever;
}

void CClockGuard::LetZoneGo() {
    if (!m_strRefusedZone.empty()) CClock::JudgeIn(std::string());
    m_strRefusedZone.clear();
}

void CClockGuard::HoldBehind(TIMESECS nSecs) {
    // Only a hold of this guard's own is ever let go.
    if (nSecs == m_nHeldSecs) return;
    m_nHeldSecs = nSecs;
    CClock::HoldBehind(nSecs);
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

void CClockGuard::Rebase(TIMESECS tTrue, std::int64_t nRunningMs) {
    m_tBase = tTrue;
    m_nBaseMs = nRunningMs;
    m_nBaseSleptMs = CClock::SleptMs();
    m_nJumpSeenMs = -1;
}

GUARD_ACTION CClockGuard::Check(WATCH watch) {
    const GUARD_ACTION zone = CheckZone();
    const GUARD_ACTION clock = CheckClock(watch);
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

GUARD_ACTION CClockGuard::CheckClock(WATCH watch) {
    const TIMESECS tWall = CClock::SystemNow();
    const std::int64_t nRunningMs = CClock::RunningMs();
    const TIMESECS tTrue = TrueNow();
    const auto isSmall = [](TIMESECS d) { return d <= JUMP && d >= -JUMP; };
    // The wall clock came back to the true time (set back by someone, or corrected by Windows):
    // the turn is over.
    if (isSmall(tWall - tTrue)) m_nTurnedSecs = 0;
    if (isSmall(tWall - m_nTurnedSecs - tTrue)) {
        HoldBehind(m_nTurnedSecs);
        Rebase(tWall - m_nTurnedSecs, nRunningMs);
        return GUARD_ACTION::NONE;
    }
    if (m_nJumpSeenMs < 0) {
        m_nJumpSeenMs = nRunningMs;
        m_jumpSeenBy = watch;
    }
    if (m_jumpSeenBy == NOBODY) {
        // Windows' time service or the parent: the new time is the truth.
        TakeWallClock(tWall, nRunningMs);
        CEvents::Record(EVENT_KIND::CLOCK_CHANGED, "The clock was changed from " + TimeText(tTrue) + " to " +
                                                       TimeText(tWall) + " while no child was logged in; it is taken as the time.");
        return GUARD_ACTION::ACCEPTED;
    }
    if (IsNear(m_nTimeChangeMs, nRunningMs)) return SetBack(tWall, tTrue, nRunningMs);
    if (nRunningMs - m_nJumpSeenMs > NOTICE_WINDOW_MS) {
        // No notice came: not a change of the system time (a jump of the hardware clock, say).
        TakeWallClock(tWall, nRunningMs);
        return GUARD_ACTION::ACCEPTED;
    }
    // Meanwhile the program goes by the true time, so that the jump begins no day before it is judged.
    HoldBehind(tWall - tTrue);
    return GUARD_ACTION::WAITING;
}

void CClockGuard::TakeWallClock(TIMESECS tWall, std::int64_t nRunningMs) {
    m_nTurnedSecs = 0;
    HoldBehind(0);
    Rebase(tWall, nRunningMs);
}

GUARD_ACTION CClockGuard::SetBack(TIMESECS tWall, TIMESECS tTrue, std::int64_t nRunningMs) {
    m_nTimeChangeMs = kNever;
    const std::string strWhat = "The clock was turned from " + TimeText(tTrue) + " to " + TimeText(tWall);
    Rebase(tTrue, nRunningMs);
    // The system's clock shows the system's zone, whatever zone the days are judged in.
    if (CSystem::Get().SetLocalTime(CClock::SystemLocal(tTrue))) {
        m_nTurnedSecs = 0;
        HoldBehind(0);
        CEvents::Record(EVENT_KIND::CLOCK_TURNED, strWhat + " and has been set back.");
        return GUARD_ACTION::CLOCK_RESTORED;
    }
    // Refused (no right to set the time): the turned clock stays, and the program goes by the
    // true time. Use is counted by the running clock either way.
    m_nTurnedSecs = tWall - tTrue;
    HoldBehind(m_nTurnedSecs);
    CEvents::Record(EVENT_KIND::CLOCK_NOT_RESTORED,
                    strWhat + "; setting it back was refused, and days and periods are still judged by the true time.");
    return GUARD_ACTION::CLOCK_NOT_RESTORED;
}
