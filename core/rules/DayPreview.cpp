// The replay of a day through the usage context.
#include "core/rules/DayPreview.h"

#include <cstdio>

#include "core/rules/UsageContext.h"
#include "core/rules/UsageState.h"
#include "core/seams/Calendar.h"
#include "core/seams/Clock.h"

namespace {

// A clock the replay moves by hand, in a zone without daylight saving (local time is UTC), so
// that every replayed day has 24 hours; the clock it replaced comes back when it goes.
class CReplayClock final : public IClock {
public:
    explicit CReplayClock(TIMESECS tStart) : m_tStart(tStart), m_tNow(tStart), m_pPrevious(CClock::Current()) { CClock::Use(this); }
    ~CReplayClock() override { CClock::Use(m_pPrevious); }
    CReplayClock(const CReplayClock&) = delete;
    CReplayClock& operator=(const CReplayClock&) = delete;

    TIMESECS Now() override { return m_tNow; }
    std::int64_t RunningMs() override { return m_tNow * 1000; }
    TIMESECS BootTime() override { return m_tStart; }
    CLocalTime ToLocal(TIMESECS t) override { return Calendar::Fields(t); }
    TIMESECS MakeLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) override {
        return Calendar::Seconds(nYear, nMonth, nDay, nHour, nMinute, nSecond);
    }
    std::string Zone() override { return "UTC"; }
    void Advance() { ++m_tNow; }

private:
    TIMESECS m_tStart;
    TIMESECS m_tNow;
    IClock* m_pPrevious;
};

// The replayed date: any date serves.
constexpr int kYear = 2024, kMonth = 1, kDay = 10;

PREVIEW_KIND KindOf(int nStateId) {
    switch (nStateId) {
        case STATE_FORCED_REST:
        case STATE_REST_DONE:
        case STATE_USER_LOCKED: return PREVIEW_KIND::REST;
        case STATE_OUT_OF_PERIOD:
        case STATE_PERIOD_ARRIVED: return PREVIEW_KIND::OUTSIDE;
        case STATE_TOTAL_USED_UP: return PREVIEW_KIND::USED_UP;
        case STATE_FORBID_DAY: return PREVIEW_KIND::FORBIDDEN;
        default: return PREVIEW_KIND::IN_USE;
    }
}

}  // namespace

std::string ClockOfDay(int nSecond) {
    char szText[8];
    std::snprintf(szText, sizeof szText, "%.2d:%.2d", nSecond / 3600 % 100, nSecond / 60 % 60);
    return szText;
}

void CDayPreview::Add(int nSecond, PREVIEW_KIND kind) {
    if (!m_spans.empty() && m_spans.back().kind == kind) {
        m_spans.back().nTo = nSecond + 1;
        return;
    }
    const bool bWasUsable = !m_spans.empty() && (m_spans.back().kind == PREVIEW_KIND::IN_USE ||
                                                 m_spans.back().kind == PREVIEW_KIND::REST);
    if (kind == PREVIEW_KIND::REST && bWasUsable) m_restStarts.push_back(nSecond);
    // Locked for the rest of the day: after some use, or from the start by a total of nothing.
    const bool bDayOver = kind == PREVIEW_KIND::USED_UP || (kind == PREVIEW_KIND::OUTSIDE && bWasUsable);
    if (bDayOver && m_nLockedForDay < 0) m_nLockedForDay = nSecond;
    m_spans.push_back({nSecond, nSecond + 1, kind});
}

CDayPreview CDayPreview::Simulate(const CDayPrj& dayIn) {
    CDayPreview preview;
    CDayPrj day = dayIn;
    if (day.m_bForbid != 0) {
        preview.m_mode = DAY_MODE::FORBIDDEN;
        preview.m_nUsableFrom = preview.m_nUsableTo = 0;
    } else if (day.m_bFree != 0) {
        preview.m_mode = DAY_MODE::FREE;
        // A free day ignores its limits, as the day's summary does.
        day.m_bRest = day.m_bTotalLimit = day.m_bPeriod = 0;
    } else if (day.m_bPeriod == 1) {
        preview.m_nUsableFrom = (day.m_nStartHour * 60 + day.m_nStartMinute) * 60;
        preview.m_nUsableTo = (day.m_nEndHour * 60 + day.m_nEndMinute) * 60;
    }

    const TIMESECS tMidnight = Calendar::Seconds(kYear, kMonth, kDay, 0, 0, 0);
    CReplayClock clock(tMidnight);
    CUsageContext context("preview");
    context.StartDay(day, tMidnight, 0);
    context.ResetState();
    preview.Add(0, KindOf(context.GetStateId()));
    // Each second of the clock: the tick, then "Start to use" as soon as the screen waits for it;
    // the state then holds until the next tick.
    for (int nSecond = 1; nSecond < kDaySecs; ++nSecond) {
        clock.Advance();
        context.OnTimer(1);
        if (context.GetStateId() == STATE_NEW_DAY) break;  // only if the day were shorter
        if (context.GetLockKind() == LOCK_UNTIL_START) context.OnStartToUse();
        preview.Add(nSecond, KindOf(context.GetStateId()));
    }
    preview.m_spans.back().nTo = kDaySecs;
    preview.m_nUsedSecs = context.UsedSecs();
    return preview;
}

std::string CDayPreview::Sentence() const {
    if (m_mode == DAY_MODE::FORBIDDEN) return "Forbidden all day: the computer stays locked.";
    if (m_mode == DAY_MODE::FREE) return "Free all day: usable 00:00\x96" "24:00 with no limits.";
    std::string strText = "Usable " + ClockOfDay(m_nUsableFrom) + "\x96" + ClockOfDay(m_nUsableTo);
    if (!m_restStarts.empty()) {
        strText += "; rests at ";
        for (std::size_t n = 0; n < m_restStarts.size() && n < kRestsNamed; ++n)
            strText += (n ? ", " : "") + ClockOfDay(m_restStarts[n]);
        if (m_restStarts.size() > kRestsNamed) strText += ", \x85";
    }
    if (m_nLockedForDay >= 0)
        strText += "; locked for the day at " + ClockOfDay(m_nLockedForDay) + ".";
    else
        strText += "; never locked for the day.";
    return strText;
}
