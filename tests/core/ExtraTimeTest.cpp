// Extra time granted on the spot: past the total, past the period, rests kept, counted down only
// by use beyond the limits, kept across a restart, gone at midnight; and the countdown that the
// notice and the status window show with it.
#include <gtest/gtest.h>

#include "core/rules/ExtraTime.h"
#include "core/rules/LockCountdown.h"
#include "core/store/ExtraTimeStore.h"
#include "EngineDriver.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"
#include "support/WeekFile.h"

namespace {

void WriteWeek(const CDayPrj& day) { ASSERT_TRUE(SaveWeek(WeekOf("kid", day))); }

CDayPrj Limits(bool bTotal, bool bRest, bool bPeriod) {
    CDayPrj day;  // total 1:30, rest 10 every 25, period 07:30-22:00
    day.m_bTotalLimit = bTotal, day.m_bRest = bRest, day.m_bPeriod = bPeriod;
    return day;
}

TIMESECS At(int nHour, int nMinute, int nSecond = 0, int nDay = 12) {
    return CClock::MakeLocal(2026, 5, nDay, nHour, nMinute, nSecond);
}

class ExtraTime : public ::testing::Test {
protected:
    CTimeZone m_zone{"UTC0"};
    CTempFolder m_folder;
    CFakeClock m_clock;
};

}  // namespace

TEST_F(ExtraTime, AGrantChoiceGivesItsSecondsAndTheRestOfTodayEndsAtMidnight) {
    EXPECT_EQ(ExtraGrantSeconds(EXTRA_GRANT::MINUTES_15, At(10, 0)), 900);
    EXPECT_EQ(ExtraGrantSeconds(EXTRA_GRANT::MINUTES_30, At(10, 0)), 1800);
    EXPECT_EQ(ExtraGrantSeconds(EXTRA_GRANT::HOUR_1, At(10, 0)), 3600);
    EXPECT_EQ(ExtraGrantSeconds(EXTRA_GRANT::REST_OF_DAY, At(22, 59, 30)), 3630);
    EXPECT_EQ(ExtraTimeLine(25 * 60), "Extra time today: 00:25:00 left");
    EXPECT_EQ(ExtraTimeLine(0), "");
}

TEST_F(ExtraTime, PastTheTotalTheChildIsLetInAndLockedAgainWhenItIsUsed) {
    CDayPrj day = Limits(true, false, false);
    day.m_nTotalHours = 0;
    day.m_nTotalMinutes = 30;
    WriteWeek(day);
    m_clock.Set(At(10, 0));
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    // A grant made early is not touched while the day's own total lasts.
    kid.Session().GrantExtra(ExtraGrantSeconds(EXTRA_GRANT::MINUTES_15, m_clock.Now()), kid.Mini());
    kid.Ticks(1800);
    EXPECT_EQ(kid.State(), STATE_ALLOWED);
    EXPECT_EQ(kid.Context().ExtraSecsLeft(), 900);
    CLockCountdown countdown;
    EXPECT_EQ(countdown.GetSecondsToLock(kid.Context()), 900);
    EXPECT_EQ(kid.TicksUntil(STATE_TOTAL_USED_UP, 1000), 900);
    EXPECT_EQ(kid.Context().UsedSecs(), 2700);

    // Granted at the lock: in at once, out again 10 minutes of use later.
    kid.Session().GrantExtra(600, kid.Mini());
    EXPECT_EQ(kid.State(), STATE_ALLOWED);
    EXPECT_EQ(kid.TicksUntil(STATE_TOTAL_USED_UP, 1000), 600);
    EXPECT_EQ(kid.Context().ExtraGrantedSecs(), 1500);
    EXPECT_EQ(kid.Context().Locks(), 2);
}

TEST_F(ExtraTime, PastThePeriodRestsStillApplyAndARestUsesNoExtraTime) {
    CDayPrj day = Limits(false, true, true);
    day.m_nEndHour = 10;
    WriteWeek(day);
    m_clock.Set(At(9, 45));
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    kid.Session().GrantExtra(ExtraGrantSeconds(EXTRA_GRANT::MINUTES_30, m_clock.Now()), kid.Mini());
    kid.Ticks(15 * 60);  // to 10:00, the end of the period
    EXPECT_EQ(kid.State(), STATE_ALLOWED);
    // The rest every 25 minutes comes at 10:10 all the same.
    EXPECT_EQ(kid.TicksUntil(STATE_FORCED_REST, 3600), 600);
    EXPECT_EQ(kid.Context().ExtraSecsLeft(), 1200);
    // The rest is neither cut short by the period nor paid with extra time.
    EXPECT_EQ(kid.TicksUntil(STATE_REST_DONE, 3600), 600);
    EXPECT_EQ(kid.Context().ExtraSecsLeft(), 1200);
    kid.StartToUse();
    EXPECT_EQ(kid.TicksUntil(STATE_OUT_OF_PERIOD, 3600), 1200);
    EXPECT_EQ(m_clock.Now(), At(10, 40));
}

TEST_F(ExtraTime, AGrantSurvivesARestartAndEndsAtMidnight) {
    WriteWeek(Limits(true, false, false));
    m_clock.Set(At(22, 0));
    {
        CEngineDriver kid(m_clock);
        kid.Login("kid");
        kid.Ticks(5400);  // the whole total, to 23:30
        ASSERT_EQ(kid.State(), STATE_TOTAL_USED_UP);
        kid.Session().GrantExtra(ExtraGrantSeconds(EXTRA_GRANT::MINUTES_15, m_clock.Now()), kid.Mini());
        kid.Ticks(300);
        kid.Logout();
    }
    CExtraTimeStore stored;
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(*stored.Find("kid"), (EXTRA_RECORD{"kid", 20260512, 900, 600, 1}));
    // A deleted extra.tim comes back from its second copy: deleting it takes away no grant.
    BYTES copy;
    ASSERT_TRUE(m_folder.m_copies.Read("extra.tim", copy));
    EXPECT_EQ(copy, m_folder.Read("extra.tim"));
    m_folder.Remove("extra.tim");

    CEngineDriver kid(m_clock);  // the program started again
    m_clock.Advance(60);
    kid.Login("kid", true);
    EXPECT_EQ(kid.State(), STATE_ALLOWED);
    EXPECT_EQ(kid.Context().ExtraSecsLeft(), 600);
    kid.Session().GrantExtra(ExtraGrantSeconds(EXTRA_GRANT::REST_OF_DAY, m_clock.Now()), kid.Mini());
    // Midnight ends the grant: the new day starts with nothing extra.
    EXPECT_GT(kid.TicksUntil(STATE_NEW_DAY, 3600), 0);
    kid.Tick();
    EXPECT_EQ(kid.Context().ExtraSecsLeft(), 0);
    EXPECT_EQ(kid.Context().ExtraGrantedSecs(), 0);
    kid.StartToUse();
    kid.Logout();
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(*stored.Find("kid"), (EXTRA_RECORD{"kid", 20260513, 0, 0, 0}));
}
