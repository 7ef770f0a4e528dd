// Which limit will lock the screen first, and how long is left, in words or as a clock.
#pragma once

#include <cstdint>
#include <string>

#include "core/rules/LocalDay.h"
#include "core/seams/Clock.h"

class CUsageContext;

class CLockCountdown {
public:
    CLockCountdown() = default;
    virtual ~CLockCountdown() = default;

    // Recomputes the four counts from the context's arrangement and counters and from now.
    void Update(const CUsageContext& context);

    // Each of these updates first, then words the count that locks first:
    // "about 12 minutes 5 seconds later to lock (for mandatory rest)".
    std::string GetAboutText(const CUsageContext& context);
    // "04:09 left to lock (new day arrives)".
    std::string GetClockText(const CUsageContext& context);
    // Seconds to the nearest lock of any kind, 0 when one is due now.
    int GetSecondsToLock(const CUsageContext& context);

    // Seconds before each kind of lock; -1 when it does not apply.
    std::int32_t m_nTotalLeft = -1;
    std::int32_t m_nRestLeft = -1;
    std::int32_t m_nNewDayLeft = -1;
    std::int32_t m_nPeriodLeft = -1;

private:
    // Today and today's period end, kept because the calendar arithmetic is the same all day.
    CLocalDay m_today;
    int m_nEndHour = -1, m_nEndMinute = -1;
    TIMESECS m_tPeriodEnd = 0, m_tPeriodEndDay = -1;
    // Index of the count that locks first (0 total, 1 rest, 2 new day, 3 period), -1 for none
    // within the hour.
    int FindFirst() const;
    // The lock by the total or the period moved back by the extra time left.
    void AddExtra(const CUsageContext& context, TIMESECS tNow);
};
