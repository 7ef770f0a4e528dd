// The preview of a day: the times a child who starts at the beginning of the permitted period
// and never stops meets, for each limit alone, all three, a period that ends before the total,
// and the forbidden and free days; the strip covers the day; the test's clock survives a replay.
#include <gtest/gtest.h>

#include "core/rules/DayPreview.h"
#include "support/FakeClock.h"

namespace {

CDayPrj Day(bool bRest, bool bTotal, bool bPeriod) {
    CDayPrj day;  // rest 10 every 25, total 1:30, period 07:30-22:00
    day.m_bRest = bRest;
    day.m_bTotalLimit = bTotal;
    day.m_bPeriod = bPeriod;
    return day;
}

int At(int nHour, int nMinute, int nSecond = 0) { return (nHour * 60 + nMinute) * 60 + nSecond; }

// The strip covers the whole day with no gap and no overlap.
void ExpectWholeDay(const CDayPreview& preview) {
    ASSERT_FALSE(preview.Spans().empty());
    EXPECT_EQ(preview.Spans().front().nFrom, 0);
    EXPECT_EQ(preview.Spans().back().nTo, CDayPreview::kDaySecs);
    for (std::size_t n = 1; n < preview.Spans().size(); ++n) {
        EXPECT_EQ(preview.Spans()[n].nFrom, preview.Spans()[n - 1].nTo);
        EXPECT_NE(preview.Spans()[n].kind, preview.Spans()[n - 1].kind);
    }
}

class DayPreview : public ::testing::Test {
protected:
    CFakeClock m_clock{CClock::MakeLocal(2026, 3, 4, 15, 0, 0)};
};

}  // namespace

TEST_F(DayPreview, EachLimitAlone) {
    const CDayPreview rest = CDayPreview::Simulate(Day(true, false, false));
    ExpectWholeDay(rest);
    ASSERT_GE(rest.RestStarts().size(), 3u);
    EXPECT_EQ(rest.RestStarts()[0], At(0, 25));
    EXPECT_EQ(rest.RestStarts()[1], At(1, 0));  // 10 minutes of rest, then 25 of use
    EXPECT_EQ(rest.RestStarts()[2], At(1, 35));
    EXPECT_EQ(rest.LockedForDayAt(), -1);
    EXPECT_EQ(rest.Sentence(), "Usable 00:00\x96" "24:00; rests at 00:25, 01:00, 01:35, 02:10, \x85; never locked for the day.");

    const CDayPreview total = CDayPreview::Simulate(Day(false, true, false));
    ExpectWholeDay(total);
    EXPECT_EQ(total.LockedForDayAt(), At(1, 30));
    EXPECT_EQ(total.UsedSecs(), 90 * 60);
    EXPECT_EQ(total.Spans().back().kind, PREVIEW_KIND::USED_UP);
    EXPECT_EQ(total.Sentence(), "Usable 00:00\x96" "24:00; locked for the day at 01:30.");

    const CDayPreview period = CDayPreview::Simulate(Day(false, false, true));
    ExpectWholeDay(period);
    ASSERT_EQ(period.Spans().size(), 3u);
    // Both ends of the period are outside it: use begins a second after 07:30.
    EXPECT_EQ(period.Spans()[1], (PREVIEW_SPAN{At(7, 30, 1), At(22, 0), PREVIEW_KIND::IN_USE}));
    EXPECT_EQ(period.Spans()[2].kind, PREVIEW_KIND::OUTSIDE);
    EXPECT_EQ(period.LockedForDayAt(), At(22, 0));
    EXPECT_EQ(period.Sentence(), "Usable 07:30\x96" "22:00; locked for the day at 22:00.");
}

TEST_F(DayPreview, AllThreeLimitsTogether) {
    const CDayPreview preview = CDayPreview::Simulate(Day(true, true, true));
    ExpectWholeDay(preview);
    EXPECT_EQ(preview.RestStarts(), (std::vector<int>{At(7, 55, 1), At(8, 30, 1), At(9, 5, 1)}));
    // 25 + 25 + 25 minutes before the third rest, 15 after it.
    EXPECT_EQ(preview.LockedForDayAt(), At(9, 30, 1));
    EXPECT_EQ(preview.UsedSecs(), 90 * 60);
    EXPECT_EQ(preview.Sentence(), "Usable 07:30\x96" "22:00; rests at 07:55, 08:30, 09:05; locked for the day at 09:30.");
}

TEST_F(DayPreview, APeriodThatEndsBeforeTheTotalLocksAtItsEnd) {
    CDayPrj day = Day(false, true, true);
    day.m_nTotalHours = 3;
    day.m_nStartHour = 8, day.m_nStartMinute = 0, day.m_nEndHour = 10, day.m_nEndMinute = 0;
    const CDayPreview preview = CDayPreview::Simulate(day);
    EXPECT_EQ(preview.LockedForDayAt(), At(10, 0));
    EXPECT_EQ(preview.UsedSecs(), 2 * 3600 - 1);
    EXPECT_EQ(preview.Spans().back().kind, PREVIEW_KIND::OUTSIDE);
    EXPECT_EQ(preview.Sentence(), "Usable 08:00\x96" "10:00; locked for the day at 10:00.");
}

TEST_F(DayPreview, ForbiddenAndFreeDaysAreOneSpan) {
    CDayPrj forbidden = Day(true, true, true);
    forbidden.m_bForbid = 1;
    const CDayPreview none = CDayPreview::Simulate(forbidden);
    EXPECT_EQ(none.Spans(), (std::vector<PREVIEW_SPAN>{{0, CDayPreview::kDaySecs, PREVIEW_KIND::FORBIDDEN}}));
    EXPECT_EQ(none.UsedSecs(), 0);
    EXPECT_EQ(none.Sentence(), "Forbidden all day: the computer stays locked.");

    // The limits a free day keeps in its record do not apply.
    CDayPrj free = Day(true, true, true);
    free.m_bFree = 1;
    const CDayPreview all = CDayPreview::Simulate(free);
    EXPECT_EQ(all.Spans(), (std::vector<PREVIEW_SPAN>{{0, CDayPreview::kDaySecs, PREVIEW_KIND::IN_USE}}));
    EXPECT_TRUE(all.RestStarts().empty());
    EXPECT_EQ(all.Sentence(), "Free all day: usable 00:00\x96" "24:00 with no limits.");
}

TEST_F(DayPreview, TheReplayGivesTheClockBackAndAPeriodToMidnightNeverLocks) {
    CDayPrj day = Day(false, false, true);
    day.m_nEndHour = 24;
    const CDayPreview preview = CDayPreview::Simulate(day);
    EXPECT_EQ(CClock::Current(), &m_clock);
    EXPECT_EQ(CClock::Now(), CClock::MakeLocal(2026, 3, 4, 15, 0, 0));
    EXPECT_EQ(preview.LockedForDayAt(), -1);
    EXPECT_EQ(preview.Sentence(), "Usable 07:30\x96" "24:00; never locked for the day.");
}
