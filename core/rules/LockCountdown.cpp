// The lock countdown. Only counts strictly between 0 and 3,599 seconds are worded; a farther
// lock reads "More than 1 hour to lock the screen".
#include "core/rules/LockCountdown.h"

#include <algorithm>

#include "core/rules/UsageContext.h"
#include "core/seams/Clock.h"
#include "core/texts/Duration.h"
#include "core/texts/MsgText.h"

namespace {

constexpr std::int32_t WITHIN = 3599;
constexpr std::int32_t FAR_AWAY = 999999;

// Message templates per count, in the order total, rest, new day, period.
constexpr unsigned g_nAboutIds[] = {226, 228, 230, 232};
constexpr unsigned g_nClockIds[] = {227, 229, 231, 233};

std::int32_t Clamp32(TIMESECS t) {
    return static_cast<std::int32_t>(std::clamp<TIMESECS>(t, INT32_MIN, INT32_MAX));
}

}  // namespace

void CLockCountdown::Update(const CUsageContext& context) {
    const TIMESECS tNow = CClock::Now();
    const CDayPrj* pDay = context.TodayPrj();
    m_today.Set(tNow);

    m_nTotalLeft = pDay && pDay->m_bTotalLimit == 1 ? context.TotalSecsLeft() : -1;
    m_nRestLeft = pDay && pDay->m_bRest == 1 ? context.UseSecsBeforeRest() : -1;
    // To the next calendar day's midnight, not now + 24 h: on a 25-hour autumn day that can
    // still be today.
    m_nNewDayLeft = Clamp32(m_today.Next() - tNow);
    m_nPeriodLeft = -1;
    if (pDay && pDay->m_bPeriod == 1) {
        if (m_tPeriodEndDay != m_today.Next() || m_nEndHour != pDay->m_nEndHour || m_nEndMinute != pDay->m_nEndMinute) {
            m_nEndHour = pDay->m_nEndHour, m_nEndMinute = pDay->m_nEndMinute;
            m_tPeriodEnd = m_today.At(m_nEndHour, m_nEndMinute, 0);
            m_tPeriodEndDay = m_today.Next();
        }
        if (tNow <= m_tPeriodEnd) m_nPeriodLeft = Clamp32(m_tPeriodEnd - tNow);
    }
    if (context.HasExtra()) AddExtra(context, tNow);
}

void CLockCountdown::AddExtra(const CUsageContext& context, TIMESECS tNow) {
    // Extra time moves the lock by the total or the period back by what is left of it; it is told
    // as the limit that locks (or would have locked) first.
    const bool bBeyond = context.IsBeyondLimits(tNow);
    if (!bBeyond && m_nTotalLeft < 0 && m_nPeriodLeft < 0) return;  // neither limit applies
    bool bByTotal = false;
    std::int32_t nNormal = 0;
    if (bBeyond) {
        bByTotal = context.Today().m_bTotalLimit == 1 && context.TotalSecsLeft() <= 0;
    } else {
        bByTotal = m_nTotalLeft >= 0 && (m_nPeriodLeft < 0 || m_nTotalLeft <= m_nPeriodLeft);
        nNormal = bByTotal ? m_nTotalLeft : m_nPeriodLeft;
    }
    const std::int32_t nLock = nNormal + context.ExtraSecsLeft();
    m_nTotalLeft = bByTotal ? nLock : -1;
    m_nPeriodLeft = bByTotal ? -1 : nLock;
}

int CLockCountdown::FindFirst() const {
    const std::int32_t counts[] = {m_nTotalLeft, m_nRestLeft, m_nNewDayLeft, m_nPeriodLeft};
    for (int i = 0; i < 4; ++i) {
        const std::int32_t t = counts[i];
        if (t <= 0 || t >= WITHIN) continue;
        const bool bBeaten = std::any_of(std::begin(counts), std::end(counts),
                                         [t](std::int32_t o) { return o > 0 && o < t; });
        if (!bBeaten) return i;
    }
    return -1;
}

std::string CLockCountdown::GetAboutText(const CUsageContext& context) {
    Update(context);
    const int nFirst = FindFirst();
    if (nFirst < 0) return FormatMsgText(234, FormatHourMinSec(1, 0, 0).c_str());
    const std::int32_t counts[] = {m_nTotalLeft, m_nRestLeft, m_nNewDayLeft, m_nPeriodLeft};
    const std::int32_t t = counts[nFirst];
    return FormatMsgText(g_nAboutIds[nFirst], FormatHourMinSec(t / 3600, (t % 3600) / 60, t % 60).c_str());
}

std::string CLockCountdown::GetClockText(const CUsageContext& context) {
    Update(context);
    const int nFirst = FindFirst();
    if (nFirst < 0) return FormatMsgText(234, FormatHourMinSec(1, 0, 0).c_str());
    const std::int32_t counts[] = {m_nTotalLeft, m_nRestLeft, m_nNewDayLeft, m_nPeriodLeft};
    const std::int32_t t = counts[nFirst];
    return FormatMsgText(g_nClockIds[nFirst], static_cast<int>((t % 3600) / 60), static_cast<int>(t % 60));
}

int CLockCountdown::GetSecondsToLock(const CUsageContext& context) {
    Update(context);
    auto orFar = [](std::int32_t n) { return n < 0 ? FAR_AWAY : n; };
    const std::int32_t nMin =
        std::min({orFar(m_nTotalLeft), orFar(m_nRestLeft), m_nNewDayLeft, orFar(m_nPeriodLeft)});
    return nMin <= 0 ? 0 : nMin;
}
