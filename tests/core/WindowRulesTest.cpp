// The rules the windows apply, tested without a window: the editor's day checks and the pre-lock
// notice's warning choice and size.
#include <gtest/gtest.h>

#include "core/rules/DayControls.h"
#include "core/rules/NoticeRules.h"
#include "core/store/DayPrj.h"

TEST(DayControls, ChecksInTheirOrderAndOnlyForAConditionalDayOfAChild) {
    DAY_CONTROLS none;
    EXPECT_TRUE(CheckDayControls(none, false).bValid) << "no user";
    none.nUsage = USAGE_FREE;
    EXPECT_TRUE(CheckDayControls(none, true).bValid);
    none.nUsage = USAGE_CONDITIONAL;
    EXPECT_EQ(CheckDayControls(none, true).nTextId, 184u);

    DAY_CONTROLS c;
    c.bTotal = c.bPeriod = 1;  // both wrong: the total is reported first
    c.nStartHour = c.nEndHour = 8;
    EXPECT_EQ(CheckDayControls(c, true).nTextId, 188u);
    EXPECT_EQ(CheckDayControls(c, true).focus, DAY_FOCUS::TOTAL_MINUTES);
    c.nTotalMinutes = 5;
    EXPECT_EQ(CheckDayControls(c, true).nTextId, 186u);
    EXPECT_EQ(CheckDayControls(c, true).focus, DAY_FOCUS::START_HOUR);
    c.nEndMinute = 5;
    EXPECT_TRUE(CheckDayControls(c, true).bValid);
    // A rest longer than its interval is accepted.
    DAY_CONTROLS rest;
    rest.bRest = 1;
    rest.nRestEvery = 3;
    rest.nRestMinutes = 30;
    EXPECT_TRUE(CheckDayControls(rest, true).bValid);
}

TEST(DayControls, AppliedToADayClearTheModesAndKeepTheNumbersOfUntickedLimits) {
    CDayPrj day;
    day.m_bForbid = 1;
    DAY_CONTROLS c;
    c.nUsage = USAGE_CONDITIONAL;
    c.bTotal = 1;
    c.nTotalHours = 2;
    c.nTotalMinutes = 15;
    c.nRestEvery = 99;  // rest not ticked: its numbers stay as they were
    ApplyDayControls(c, day);
    EXPECT_EQ(day.m_bForbid, 0);
    EXPECT_EQ(day.m_bFree, 0);
    EXPECT_EQ(day.m_bTotalLimit, 1);
    EXPECT_EQ(day.m_nTotalHours, 2);
    EXPECT_EQ(day.m_nTotalMinutes, 15);
    EXPECT_EQ(day.m_bRest, 0);
    EXPECT_EQ(day.m_nRestEvery, CDayPrj().m_nRestEvery);
    EXPECT_EQ(day.m_bPeriod, 0);

    c.nUsage = USAGE_FREE;
    ApplyDayControls(c, day);
    EXPECT_EQ(day.m_bFree, 1);
    EXPECT_EQ(day.m_bForbid, 0);
}

TEST(NoticeRules, TheSmallestCountWithinTheLeadWarnsAndTheEarlierWinsATie) {
    EXPECT_EQ(FindWarning({31, -1, 50000, -1}, 30), -1);
    EXPECT_EQ(FindWarning({30, -1, 50000, -1}, 30), 0);
    EXPECT_EQ(FindWarning({20, 20, 50000, -1}, 30), 0) << "total before rest";
    EXPECT_EQ(FindWarning({20, 15, 50000, -1}, 30), 1);
    EXPECT_EQ(FindWarning({0, 15, 50000, -1}, 30), 1) << "a count at 0 does not warn";
    EXPECT_EQ(FindWarning({-1, 25, 12, 40}, 10), -1) << "12 seconds to midnight, lead 10";
    EXPECT_EQ(FindWarning({-1, 25, 9, 5}, 10), 3);
    EXPECT_EQ(FindWarning({-1, -1, -1, -1}, 30), -1) << "no limit at all";
}

TEST(NoticeRules, TheNoticeScalesWithTheScreenWidthOnBothSides) {
    const NOTICE_SIZE size = ScaledNoticeSize(1920, 847, 60);
    EXPECT_EQ(size.cx, 1190);
    EXPECT_EQ(size.cy, 84);
    const NOTICE_SIZE same = ScaledNoticeSize(1366, 847, 60);
    EXPECT_EQ(same.cx, 847) << "the base width draws the bitmap as it is";
    EXPECT_EQ(same.cy, 60);
}
