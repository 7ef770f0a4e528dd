// Use counted by the running clock: what really passed between ticks, whatever the timer did.
#include <gtest/gtest.h>

#include "core/rules/UseMeter.h"
#include "support/FakeClock.h"

TEST(UseMeter, CountsTheSecondsThatReallyPassedAndCarriesTheRest) {
    CFakeClock clock(1778598000);
    CUseMeter meter;
    meter.Start(CClock::RunningMs());
    clock.AdvanceMs(999);
    EXPECT_EQ(meter.Take(CClock::RunningMs()), 0) << "an early timer message";
    clock.AdvanceMs(1001);
    EXPECT_EQ(meter.Take(CClock::RunningMs()), 2) << "and the late one makes up for it";
    clock.Advance(13);
    EXPECT_EQ(meter.Take(CClock::RunningMs()), 13) << "a queue stalled or suspended for 13 s";
    int nTotal = 0;
    for (int i = 0; i < 1000; ++i) clock.AdvanceMs(333), nTotal += meter.Take(CClock::RunningMs());
    EXPECT_EQ(nTotal, 333) << "no second lost or made up over many uneven ticks";
}

TEST(UseMeter, ASleepOrATurnedClockCountsNothing) {
    CFakeClock clock(1778598000);
    CUseMeter meter;
    meter.Start(CClock::RunningMs());
    clock.Sleep(3600);
    clock.Turn(7200);
    clock.Turn(-86400);
    clock.Advance(1);
    EXPECT_EQ(meter.Take(CClock::RunningMs()), 1);
    EXPECT_EQ(meter.Take(CClock::RunningMs() - 5000), 0) << "a reading from the past";
}
