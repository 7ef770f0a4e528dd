// Days in a child's life: a login, one tick a second, the buttons, midnight, restarts.
#include <gtest/gtest.h>

#include "EngineDriver.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"
#include "support/WeekFile.h"

namespace {

// Writes prj.nam with one week for kid, every day as given, then lets a test adjust single days.
void WriteWeek(const CDayPrj& day, void (*adjust)(CUserPrj&) = nullptr) {
    CUserPrj week = WeekOf("kid", day);
    if (adjust) adjust(week);
    ASSERT_TRUE(SaveWeek(week));
}

CDayPrj Limits(bool bTotal, bool bRest, bool bPeriod) {
    CDayPrj day;
    day.m_bTotalLimit = bTotal, day.m_bRest = bRest, day.m_bPeriod = bPeriod;
    return day;
}

TIMESECS At(int nHour, int nMinute, int nSecond, int nDay = 12) {
    return CClock::MakeLocal(2026, 5, nDay, nHour, nMinute, nSecond);  // 12 May 2026 is a Tuesday
}

class EngineDay : public ::testing::Test {
protected:
    CTimeZone m_zone{"UTC0"};
    CTempFolder m_folder;
    CFakeClock m_clock;
};

}  // namespace

TEST_F(EngineDay, DefaultDayRestsEveryIntervalUntilTheTotalIsUsedUp) {
    WriteWeek(CDayPrj());
    m_clock.Set(At(8, 0, 0));
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    const CUsageContext& c = kid.Context();
    ASSERT_EQ(kid.State(), STATE_ALLOWED);

    EXPECT_EQ(kid.TicksUntil(STATE_FORCED_REST, 5000), 1500);
    EXPECT_EQ(c.RestSecsLeft(), 600);
    EXPECT_EQ(c.Texts().strExplanation, "unlock after about 10 minutes");
    EXPECT_EQ(c.Texts().strStatusLine, "unlock after 10:00");
    kid.StartToUse();  // cannot end a mandatory rest
    EXPECT_EQ(kid.State(), STATE_FORCED_REST);

    EXPECT_EQ(kid.TicksUntil(STATE_REST_DONE, 5000), 600);
    EXPECT_EQ(c.Texts().strHeadline, "Have rest for more than 10 minutes");
    EXPECT_EQ(c.UseSecsBeforeRest(), 1500);
    EXPECT_EQ(c.UsedSecs(), 1500);

    // Two more full intervals, then the 900 seconds left of the 5,400 of the day.
    for (int i = 0; i < 2; ++i) {
        kid.StartToUse();
        EXPECT_EQ(kid.TicksUntil(STATE_FORCED_REST, 5000), 1500) << "interval " << i + 2;
        EXPECT_EQ(kid.TicksUntil(STATE_REST_DONE, 5000), 600);
    }
    kid.StartToUse();
    EXPECT_EQ(kid.TicksUntil(STATE_TOTAL_USED_UP, 5000), 900);
    EXPECT_EQ(c.UsedSecs(), 5400);
    EXPECT_EQ(c.TotalSecsLeft(), 0);
    EXPECT_EQ(c.GetLockKind(), 1);

    // Locked until midnight; the next tick reloads Wednesday with nothing used.
    m_clock.Set(At(23, 59, 0));
    kid.Ticks(59);
    EXPECT_EQ(kid.State(), STATE_TOTAL_USED_UP);
    kid.Tick();
    EXPECT_EQ(kid.State(), STATE_NEW_DAY);
    kid.Tick();
    EXPECT_EQ(kid.State(), STATE_NEW_DAY);
    EXPECT_EQ(c.UsedSecs(), 0);
    EXPECT_EQ(c.TotalSecsLeft(), 5400);
}

TEST_F(EngineDay, TakingARestGivesBackUseUpToOneInterval) {
    WriteWeek(CDayPrj());
    m_clock.Set(At(9, 0, 0));
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    kid.Ticks(1000);
    EXPECT_EQ(kid.Context().UseSecsBeforeRest(), 500);
    kid.TakeRest();
    EXPECT_EQ(kid.State(), STATE_USER_LOCKED);
    EXPECT_EQ(kid.Context().GetLockKind(), 2);
    kid.Ticks(300);
    kid.StartToUse();
    EXPECT_EQ(kid.State(), STATE_ALLOWED);
    EXPECT_EQ(kid.Context().UseSecsBeforeRest(), 800);
    EXPECT_EQ(kid.Context().UsedSecs(), 1000);
    kid.TakeRest();
    kid.Ticks(3000);
    kid.StartToUse();
    EXPECT_EQ(kid.Context().UseSecsBeforeRest(), 1500);
}

TEST_F(EngineDay, ShortTotalLocksForTheDay) {
    CDayPrj day = Limits(true, false, false);
    day.m_nTotalHours = 0, day.m_nTotalMinutes = 10;
    WriteWeek(day);
    m_clock.Set(At(15, 0, 0));
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    EXPECT_EQ(kid.TicksUntil(STATE_TOTAL_USED_UP, 5000), 600);
    EXPECT_EQ(kid.Context().Texts().strStatusLine, "Run out of permitted time for today");
    kid.TakeRest();
    kid.StartToUse();
    EXPECT_EQ(kid.State(), STATE_TOTAL_USED_UP);
}

TEST_F(EngineDay, PermittedPeriodLocksAtItsEndAndOpensAfterItsStart) {
    WriteWeek(Limits(false, false, true));
    m_clock.Set(At(21, 59, 0));
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    EXPECT_EQ(kid.TicksUntil(STATE_OUT_OF_PERIOD, 120), 60);
    EXPECT_EQ(m_clock.Now(), At(22, 0, 0));

    m_clock.Set(At(23, 59, 59));
    kid.Tick();
    EXPECT_EQ(kid.State(), STATE_NEW_DAY);
    m_clock.Set(At(6, 0, 0, 13));
    kid.Tick();
    kid.StartToUse();
    EXPECT_EQ(kid.State(), STATE_OUT_OF_PERIOD);
    m_clock.Set(At(7, 29, 59, 13));
    kid.Tick();
    EXPECT_EQ(kid.State(), STATE_OUT_OF_PERIOD) << "at 07:30:00";
    kid.Tick();
    EXPECT_EQ(kid.State(), STATE_PERIOD_ARRIVED) << "at 07:30:01";
    EXPECT_EQ(kid.Context().GetLockKind(), 2);
    kid.StartToUse();
    EXPECT_EQ(kid.State(), STATE_ALLOWED);
}

TEST_F(EngineDay, ForbiddenDayWaitsForTheNextDay) {
    WriteWeek(Limits(false, false, false), [](CUserPrj& week) { week.m_days[2].m_bForbid = 1; });
    m_clock.Set(At(10, 0, 0));
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    EXPECT_EQ(kid.State(), STATE_FORBID_DAY);
    EXPECT_EQ(kid.TicksUntil(STATE_NEW_DAY, 86400), 14 * 3600);
    kid.Tick();
    kid.StartToUse();
    EXPECT_EQ(kid.State(), STATE_ALLOWED);
    EXPECT_EQ(kid.Context().TodayPrj()->m_bForbid, 0);
}

TEST_F(EngineDay, NewDayWinsOverEveryOtherLockAtMidnight) {
    CDayPrj day = Limits(true, true, false);
    day.m_nTotalHours = 0, day.m_nTotalMinutes = 1;
    WriteWeek(day);
    m_clock.Set(At(23, 59, 0));
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    EXPECT_EQ(kid.TicksUntil(STATE_NEW_DAY, 120), 60);
    EXPECT_EQ(kid.Context().TotalSecsLeft(), 0);
}

TEST_F(EngineDay, OverUsedTotalLocksAtTheFreshStart) {
    WriteWeek(CDayPrj());
    m_clock.Set(At(11, 0, 0));
    CUsageStore usage;
    USAGE_RECORD record;
    record.strUser = "kid";
    record.nUsedSecs = 6000;
    record.tLastSave = At(10, 0, 0);
    usage.Add(record);
    usage.Save();
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    EXPECT_EQ(kid.Context().TotalSecsLeft(), -600);
    EXPECT_EQ(kid.State(), STATE_TOTAL_USED_UP);
}

TEST_F(EngineDay, RestartDuringARestCountsTheGapAsRest) {
    WriteWeek(CDayPrj());
    m_clock.Set(At(8, 0, 0));
    {
        CEngineDriver kid(m_clock);
        kid.Login("kid");
        kid.TicksUntil(STATE_FORCED_REST, 5000);
        kid.Ticks(300);
        EXPECT_EQ(kid.Context().RestSecsLeft(), 300);
        kid.Logout();
    }
    m_clock.Advance(20 * 60);
    CEngineDriver kid(m_clock);  // the program restarted
    kid.Login("kid", true);
    EXPECT_EQ(kid.State(), STATE_REST_DONE);
    EXPECT_EQ(kid.Context().RestSecsLeft(), 0);
    EXPECT_EQ(kid.Context().UsedSecs(), 1500);
    EXPECT_EQ(kid.Context().TotalSecsLeft(), 3900);
}

TEST_F(EngineDay, ResumeAfterAShortBreakKeepsCountingWhereItStopped) {
    WriteWeek(CDayPrj());
    m_clock.Set(At(9, 0, 0));
    {
        CEngineDriver kid(m_clock);
        kid.Login("kid");
        kid.Ticks(1000);
        kid.Logout();
    }
    m_clock.Advance(5 * 60);
    CEngineDriver kid(m_clock);
    kid.Login("kid", true);
    EXPECT_EQ(kid.State(), STATE_ALLOWED);
    EXPECT_EQ(kid.Context().UsedSecs(), 1000);
    EXPECT_EQ(kid.Context().TotalSecsLeft(), 4400);
    EXPECT_EQ(kid.Context().UseSecsBeforeRest(), 800);  // 500 left plus 300 of break
    EXPECT_EQ(kid.TicksUntil(STATE_FORCED_REST, 2000), 800);
}

TEST_F(EngineDay, ChangedArrangementWhileLoggedOutIsAppliedAtTheResume) {
    WriteWeek(CDayPrj());
    m_clock.Set(At(8, 0, 0));
    {
        CEngineDriver kid(m_clock);
        kid.Login("kid");
        kid.TicksUntil(STATE_FORCED_REST, 5000);
        kid.Ticks(60);
        kid.Logout();
    }
    // The Administrator lengthens today's interval.
    CPrjStore editor;
    ASSERT_TRUE(editor.Load());
    editor.Find("kid")->m_days[2].m_nRestEvery = 40;
    ASSERT_TRUE(editor.Save());
    m_clock.Advance(60);

    CEngineDriver kid(m_clock);
    kid.Login("kid", true);
    const CUsageContext& c = kid.Context();
    EXPECT_EQ(kid.State(), STATE_ALLOWED) << "the running rest is dropped";
    EXPECT_EQ(c.RestSecsLeft(), -1);
    EXPECT_EQ(c.UseSecsBeforeRest(), 2400);
    EXPECT_EQ(c.UsedSecs(), 1500);
    EXPECT_EQ(c.TotalSecsLeft(), 3900);
    EXPECT_EQ(c.PrjCopy().m_nRestEvery, 40);
    EXPECT_TRUE(c.IsPrjUnchanged());

    // A change to the values of a limit that is off goes unnoticed.
    kid.Logout();
    editor.Load();
    editor.Find("kid")->m_days[2].m_bTotalLimit = 0;
    editor.Save();
    CEngineDriver again(m_clock);
    again.Login("kid", true);
    EXPECT_EQ(again.Context().TotalSecsLeft(), -1);
    again.Logout();
    editor.Load();
    editor.Find("kid")->m_days[2].m_nTotalMinutes = 59;
    editor.Save();
    CEngineDriver third(m_clock);
    third.Login("kid", true);
    EXPECT_EQ(third.State(), STATE_ALLOWED);
    EXPECT_EQ(third.Context().UseSecsBeforeRest(), 2400);
}

TEST_F(EngineDay, ClockSetBackBetweenSaveAndResumeTakesNothingAway) {
    WriteWeek(CDayPrj());
    m_clock.Set(At(10, 0, 0));
    {
        CEngineDriver kid(m_clock);
        kid.Login("kid");
        kid.Ticks(1000);
        kid.TakeRest();
        kid.Logout();
    }
    m_clock.Set(At(9, 50, 0));
    CEngineDriver kid(m_clock);
    kid.Login("kid", true);
    EXPECT_EQ(kid.State(), STATE_USER_LOCKED);
    EXPECT_EQ(kid.Context().UseSecsBeforeRest(), 500);
}

TEST_F(EngineDay, StoredUsageFromYesterdayStartsAfreshButKeepsTheMiniWindow) {
    WriteWeek(CDayPrj());
    m_clock.Set(At(23, 59, 30));
    {
        CEngineDriver kid(m_clock);
        kid.Login("kid");
        kid.Mini() = {0, 120, 45};  // hidden, and moved
        kid.Ticks(10);
        kid.Logout();
    }
    m_clock.Set(At(0, 0, 10, 13));
    CEngineDriver kid(m_clock);
    kid.Login("kid", true);  // active, but the record is from yesterday: a fresh start
    EXPECT_EQ(kid.Context().UsedSecs(), 0);
    EXPECT_EQ(kid.Context().Mini(), (CUsageContext::MINI_PLACE{0, 120, 45}));
    EXPECT_EQ(kid.State(), STATE_OUT_OF_PERIOD);
}

TEST_F(EngineDay, FullFreeDayCountsEverySecond) {
    WriteWeek(Limits(false, false, false));
    m_clock.Set(At(0, 0, 0));
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    EXPECT_EQ(kid.TicksUntil(STATE_NEW_DAY, 90000), 86400);
    EXPECT_EQ(kid.Context().UsedSecs(), 86400);
}

class EngineDaylightSaving : public ::testing::Test {
protected:
    CTimeZone m_zone{"CET-1CEST,M3.5.0,M10.5.0/3"};
    CTempFolder m_folder;
    CFakeClock m_clock;
};

TEST_F(EngineDaylightSaving, ChangeDaysLastTwentyThreeAndTwentyFiveHours) {
    WriteWeek(Limits(false, false, false));
    for (const auto& [nMonth, nDay, nHours] : {std::tuple{3, 29, 23}, std::tuple{10, 25, 25}}) {
        m_clock.SetLocal(2026, nMonth, nDay, 0, 0, 0);
        CEngineDriver kid(m_clock);
        kid.Login("kid");
        EXPECT_EQ(kid.TicksUntil(STATE_NEW_DAY, 100000), nHours * 3600) << nMonth << "-" << nDay;
        EXPECT_EQ(kid.Context().UsedSecs(), nHours * 3600);
        kid.Tick();
        EXPECT_EQ(CClock::ToLocal(kid.Context().SessionTime()).nDay, nDay + 1);
    }
}

TEST_F(EngineDaylightSaving, PeriodAcrossTheSpringChangeIsOneRealHourShorter) {
    CDayPrj day = Limits(false, false, true);
    day.m_nStartHour = 1, day.m_nStartMinute = 30, day.m_nEndHour = 3, day.m_nEndMinute = 30;
    WriteWeek(day);
    m_clock.SetLocal(2026, 3, 29, 1, 29, 0);
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    EXPECT_EQ(kid.State(), STATE_OUT_OF_PERIOD);
    EXPECT_EQ(kid.TicksUntil(STATE_PERIOD_ARRIVED, 100), 61);
    kid.StartToUse();
    // 01:30:01 to 03:30:00 on the clock, but 02:00 jumps to 03:00.
    EXPECT_EQ(kid.TicksUntil(STATE_OUT_OF_PERIOD, 10000), 3599);
    EXPECT_EQ(kid.Context().UsedSecs(), 3599);
}
