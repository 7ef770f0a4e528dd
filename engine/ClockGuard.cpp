// The clock guard. A jump is judged when it has moved ten ticks down the history, so the notices
// that came with it (which arrive around, not exactly at, the jump) can be matched against the
// whole twenty-second history.
#include "engine/ClockGuard.h"

#include <algorithm>

#include "seams/SystemActions.h"

namespace {

// A mark far in the past: matches no tick.
TIMESECS FarPast() { return CClock::MakeLocal(1990, 1, 1, 1, 1, 1); }

constexpr TIMESECS JUMP = 30;
// Where in the history a jump between two ticks is judged: between entries 9 and 10.
constexpr int JUDGED = 10;

}  // namespace

CClockGuard::CClockGuard() : m_tTimeChange(FarPast()), m_tResume(FarPast()) { Fill(0); }

void CClockGuard::Fill(TIMESECS t) { std::fill(std::begin(m_tHistory), std::end(m_tHistory), t); }

void CClockGuard::Push(TIMESECS t) {
    std::move_backward(std::begin(m_tHistory), std::end(m_tHistory) - 1, std::end(m_tHistory));
    m_tHistory[0] = t;
}

void CClockGuard::SetTimeChange(TIMESECS t) { m_tTimeChange = t; }

void CClockGuard::SetResume(TIMESECS t) { m_tResume = t; }

bool CClockGuard::IsNear(TIMESECS t) const {
    return std::any_of(std::begin(m_tHistory), std::end(m_tHistory),
                       [t](TIMESECS e) { return e - t <= 1 && t - e <= 1; });
}

void CClockGuard::ClearMarks() { m_tTimeChange = m_tResume = FarPast(); }

bool CClockGuard::CheckAndRestore() {
    const TIMESECS d = m_tHistory[JUDGED] - m_tHistory[JUDGED - 1];
    if (d <= JUMP && d >= -JUMP) return false;
    if (!IsNear(m_tTimeChange) || IsNear(m_tResume)) return false;

    // The last time before the jump, advanced by the ticks that have passed since.
    // A refusal (no right to set the time) is not reported; the history is refilled all the same.
    CSystem::Get().SetLocalTime(CClock::ToLocal(m_tHistory[JUDGED] + JUDGED));
    Fill(CClock::Now());
    ClearMarks();
    return true;
}
