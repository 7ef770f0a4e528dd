// The clock guard, checked once a second as the controller checks it, on the fake clock: a turn
// while a child is logged in set back or held back, a change at the lock screen taken, and a
// child's day and period kept by the true time when the clock cannot be set back.
#include <gtest/gtest.h>

#include <vector>

#include "core/rules/ClockGuard.h"
#include "core/seams/SystemActions.h"
#include "core/store/PrjStore.h"
#include "EngineDriver.h"
#include "support/EventRecorder.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"

namespace {

// Setting the time or the zone moves the fake clock (unless refused); everything else is refused.
class CClockSettingActions final : public ISystemActions {
public:
    explicit CClockSettingActions(CFakeClock& clock) : m_clock(clock) { CSystem::Use(this); }
    ~CClockSettingActions() override { CSystem::Use(nullptr); }

    bool SetLocalTime(const CLocalTime& t) override {
        m_sets.push_back(t);
        if (m_bRefuse) return false;
        m_clock.SetLocal(t.nYear, t.nMonth, t.nDay, t.nHour, t.nMinute, t.nSecond);
        return true;
    }
    bool SetZone(const std::string& strZone) override {
        m_zoneSets.push_back(strZone);
        if (m_bRefuse || strZone.rfind("UTC", 0) != 0) return false;
        m_clock.SetZone(std::stoi(strZone.substr(3)));
        return true;
    }
    bool OpenProcessToken() override { return false; }
    bool AdjustShutdownPrivilege() override { return false; }
    bool ExitSystem(unsigned) override { return false; }
    bool StartProcess(const std::string&, const std::string&) override { return false; }
    long WriteRunValue(const std::string&, const std::string&) override { return -1; }
    long ReadRunValue(const std::string&, std::string&) override { return -1; }
    long DeleteRunValue(const std::string&) override { return -1; }
    void SendKey(unsigned char, bool) override {}
    unsigned long GetForegroundLockTimeout() override { return 0; }
    void SetForegroundLockTimeout(unsigned long) override {}

    std::vector<CLocalTime> m_sets;
    std::vector<std::string> m_zoneSets;
    bool m_bRefuse = false;

private:
    CFakeClock& m_clock;
};

class ClockGuard : public ::testing::Test {
protected:
    ClockGuard() {
        m_clock.SetZone(0);
        m_guard.Start();
    }

    // One second passes and the guard checks, with a child logged in unless told otherwise.
    GUARD_ACTION Tick(CClockGuard::WATCH watch = CClockGuard::CHILD) {
        m_clock.Advance(1);
        return m_guard.Check(watch);
    }
    // Ticks until the guard does something other than nothing or waiting; that, or NONE after 40.
    GUARD_ACTION TickUntilAction(int* pTicks = nullptr) {
        for (int i = 1; i <= 40; ++i) {
            const GUARD_ACTION action = Tick();
            if (action != GUARD_ACTION::NONE && action != GUARD_ACTION::WAITING) {
                if (pTicks) *pTicks = i;
                return action;
            }
        }
        return GUARD_ACTION::NONE;
    }

    const TIMESECS m_tStart = 1778598000;  // 2026-05-12 15:00:00 UTC
    CFakeClock m_clock{m_tStart};
    CClockSettingActions m_actions{m_clock};
    CEventRecorder m_events;
    CClockGuard m_guard;
};

}  // namespace

TEST_F(ClockGuard, ATurnedClockIsSetBackAtOnceToTheTimeThatReallyPassed) {
    for (const TIMESECS nTurn : {TIMESECS(2 * 3600), TIMESECS(-3 * 3600), TIMESECS(86400)}) {
        SCOPED_TRACE(nTurn);
        m_actions.m_sets.clear();
        for (int i = 0; i < 5; ++i) ASSERT_EQ(Tick(), GUARD_ACTION::NONE);
        const TIMESECS tTrue = m_clock.Now();
        m_clock.Turn(nTurn);
        // The notice comes right after the change: judged there, not ten ticks later.
        m_guard.SetTimeChange();
        EXPECT_EQ(m_guard.Check(CClockGuard::CHILD), GUARD_ACTION::CLOCK_RESTORED);
        ASSERT_EQ(m_actions.m_sets.size(), 1u);
        EXPECT_EQ(m_clock.Now(), tTrue);
        // Acted on once.
        for (int i = 0; i < 40; ++i) ASSERT_EQ(Tick(), GUARD_ACTION::NONE);
        EXPECT_EQ(m_actions.m_sets.size(), 1u);
    }
    EXPECT_EQ(m_events.Count(EVENT_KIND::CLOCK_TURNED), 3u);
}

TEST_F(ClockGuard, ANoticeThatComesAfterTheTickThatSawTheJumpStillCounts) {
    Tick();
    m_clock.Turn(86400);
    EXPECT_EQ(Tick(), GUARD_ACTION::WAITING);
    EXPECT_EQ(CClock::Now(), m_tStart + 2) << "meanwhile the program goes by the true time";
    // The child is back at the lock screen when the notice comes: the turn was made while logged in.
    Tick(CClockGuard::NOBODY);
    m_guard.SetTimeChange();
    EXPECT_EQ(m_guard.Check(CClockGuard::NOBODY), GUARD_ACTION::CLOCK_RESTORED);
    EXPECT_EQ(m_clock.Now(), m_tStart + 3) << "three seconds really passed";
    EXPECT_EQ(CClock::Now(), m_clock.Now());
}

TEST_F(ClockGuard, AtTheLockScreenAChangeOfTheClockIsTakenAtOnceAndRecorded) {
    // Windows' time service corrects the clock at boot, forward or back, with or without a
    // notice; or the parent sets it. Nobody else can reach it while no child is logged in.
    struct CASE {
        const char* pszName;
        TIMESECS nJump;
        bool bNotice;
    };
    for (const CASE& c : {CASE{"40 s forward", 40, true}, CASE{"3 minutes back", -180, true},
                          CASE{"a month forward, no notice", 30 * 86400, false}}) {
        SCOPED_TRACE(c.pszName);
        Tick(CClockGuard::NOBODY);
        m_clock.Turn(c.nJump);
        if (c.bNotice) m_guard.SetTimeChange();
        const TIMESECS tWall = m_clock.Now() + 1;
        EXPECT_EQ(Tick(CClockGuard::NOBODY), GUARD_ACTION::ACCEPTED);
        EXPECT_EQ(CClock::Now(), tWall);
        for (int i = 0; i < 30; ++i) ASSERT_EQ(Tick(CClockGuard::NOBODY), GUARD_ACTION::NONE) << "the new truth";
        // The next login finds nothing to undo either.
        ASSERT_EQ(Tick(CClockGuard::CHILD), GUARD_ACTION::NONE);
    }
    EXPECT_TRUE(m_actions.m_sets.empty()) << "never fought";
    EXPECT_EQ(m_events.Count(EVENT_KIND::CLOCK_CHANGED), 3u) << "the parent can see each";
}

TEST_F(ClockGuard, JumpsThatAreNotAChangeOfTheClockAreLeftAlone) {
    struct Case {
        const char* pszName;
        TIMESECS nJump;
        bool bSleep, bChangeNotice;
    };
    const Case cases[] = {
        {"an hour of sleep, with a time-change notice after it", 3600, true, true},
        {"an hour of sleep without a notice", 3600, true, false},
        {"correction of 20 seconds", 20, false, true},
        {"correction of 30 seconds", 30, false, true},
        {"jump without a notice", 7200, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        for (int i = 0; i < 25; ++i) Tick();
        c.bSleep ? m_clock.Sleep(c.nJump) : m_clock.Turn(c.nJump);
        if (c.bChangeNotice) m_guard.SetTimeChange();
        const GUARD_ACTION action = TickUntilAction();
        EXPECT_TRUE(action == GUARD_ACTION::NONE || action == GUARD_ACTION::ACCEPTED);
        for (int i = 0; i < 25; ++i) ASSERT_EQ(Tick(), GUARD_ACTION::NONE) << "the jump is the new truth";
    }
    EXPECT_TRUE(m_actions.m_sets.empty());
    EXPECT_TRUE(m_events.m_events.empty());
}

TEST_F(ClockGuard, ASleepExplainsOnlyTheTimeTheMachineReallySlept) {
    // Asleep for an hour, then the clock turned a day ahead: set back to the hour slept.
    Tick();
    const TIMESECS tBefore = m_clock.Now();
    m_clock.Sleep(3600);
    m_clock.Turn(86400);
    m_guard.SetTimeChange();
    EXPECT_EQ(m_guard.Check(CClockGuard::CHILD), GUARD_ACTION::CLOCK_RESTORED);
    EXPECT_EQ(m_clock.Now(), tBefore + 3600);
}

TEST_F(ClockGuard, ANoticeLongBeforeTheJumpDoesNotCount) {
    Tick();
    m_guard.SetTimeChange();  // a small change, long before the jump
    for (int i = 0; i < 30; ++i) Tick();
    m_clock.Turn(3600);
    EXPECT_EQ(TickUntilAction(), GUARD_ACTION::ACCEPTED);
    EXPECT_TRUE(m_actions.m_sets.empty());
}

TEST_F(ClockGuard, ARefusedSettingHoldsTheTrueTimeUntilTheClockComesBackOrTheAdministratorLogsIn) {
    m_actions.m_bRefuse = true;
    for (const bool bAdministrator : {false, true}) {
        SCOPED_TRACE(bAdministrator ? "the Administrator logs in" : "Windows sets the clock right");
        Tick();
        const TIMESECS tTrue = m_clock.Now();
        m_clock.Turn(86400);
        m_guard.SetTimeChange();
        EXPECT_EQ(m_guard.Check(CClockGuard::CHILD), GUARD_ACTION::CLOCK_NOT_RESTORED);
        EXPECT_EQ(CClock::Now(), tTrue) << "the program goes by the true time";
        EXPECT_EQ(CClock::SystemNow(), tTrue + 86400) << "the system keeps the turned one";
        // Neither fought over at every tick nor let go at the lock screen.
        for (int i = 0; i < 30; ++i) ASSERT_EQ(Tick(i % 2 ? CClockGuard::CHILD : CClockGuard::NOBODY), GUARD_ACTION::NONE);
        EXPECT_EQ(CClock::Now(), tTrue + 30);
        if (bAdministrator) {
            m_guard.Start();
            EXPECT_EQ(CClock::Now(), m_clock.Now()) << "the clock is the parent's to set";
            m_clock.Turn(-86400);  // the parent sets it right later on
            m_guard.Start();
        } else {
            m_clock.Turn(-86400);
            EXPECT_EQ(Tick(CClockGuard::NOBODY), GUARD_ACTION::NONE) << "back to the true time: nothing to take";
        }
        EXPECT_EQ(CClock::Now(), m_clock.Now());
        EXPECT_EQ(CClock::HeldBehind(), 0);
    }
    EXPECT_EQ(m_actions.m_sets.size(), 2u);
    EXPECT_EQ(m_events.Count(EVENT_KIND::CLOCK_NOT_RESTORED), 2u);
    EXPECT_EQ(m_events.Count(EVENT_KIND::CLOCK_CHANGED), 0u);
}

// A child's session beside the guard, where the system refuses to set the time back (the program
// runs without the right; the child turned the clock with more): the turn neither opens the
// permitted period nor begins a fresh day.
TEST_F(ClockGuard, AClockTurnedThatCannotBeSetBackGivesNoFreshDayAndOpensNoPeriod) {
    CTempFolder folder;
    CUserPrj week("kid");
    for (CDayPrj& day : week.m_days) {
        day.ClearLimits();
        day.m_bTotalLimit = 1, day.m_nTotalHours = 0, day.m_nTotalMinutes = 30;
        day.m_bPeriod = 1, day.m_nStartHour = 16, day.m_nStartMinute = 0, day.m_nEndHour = 18, day.m_nEndMinute = 0;
    }
    CPrjStore prj;
    prj.Add(week);
    ASSERT_TRUE(prj.Save());
    m_actions.m_bRefuse = true;
    m_clock.SetLocal(2026, 5, 12, 15, 0, 0);  // Tuesday, an hour before the period
    m_guard.Start();
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    ASSERT_EQ(kid.State(), STATE_OUT_OF_PERIOD);
    // Each second the controller's guard checks, then the status window ticks.
    auto seconds = [&](int nCount) {
        for (int i = 0; i < nCount; ++i) {
            m_clock.Advance(1);
            m_guard.Check(CClockGuard::CHILD);
            kid.Session().Tick(kid.Mini());
        }
    };

    // Into the period: still outside it, until the hour has really passed.
    m_clock.Turn(90 * 60);
    m_guard.SetTimeChange();
    seconds(60);
    EXPECT_EQ(kid.State(), STATE_OUT_OF_PERIOD);
    EXPECT_FALSE(kid.Session().IsInsidePeriod());
    seconds(3600 - 60 + 5);
    EXPECT_TRUE(kid.Session().IsInsidePeriod());
    kid.StartToUse();
    seconds(30 * 60 + 5);
    ASSERT_EQ(kid.State(), STATE_TOTAL_USED_UP);

    // To tomorrow: the day's total stays used up.
    m_clock.Turn(86400);
    m_guard.SetTimeChange();
    seconds(60);
    kid.StartToUse();
    EXPECT_EQ(kid.State(), STATE_TOTAL_USED_UP) << "no fresh day";
    EXPECT_EQ(kid.Context().UsedSecs(), 30 * 60);
    EXPECT_EQ(m_events.Count(EVENT_KIND::CLOCK_NOT_RESTORED), 2u);
}

TEST_F(ClockGuard, AMovedZoneIsSetBackOrItsMidnightIsNotTakenWhenRefused) {
    // The zone is moved, and moved back at the next check.
    m_clock.SetZone(9 * 3600);
    EXPECT_EQ(Tick(), GUARD_ACTION::ZONE_RESTORED);
    EXPECT_EQ(CClock::Zone(), "UTC0");
    EXPECT_EQ(m_events.Count(EVENT_KIND::ZONE_CHANGED), 1u);

    // Refused, to a zone whose midnight is 30 seconds away: the system keeps it, and the days
    // are still judged in the zone held, so its midnight begins no day.
    m_actions.m_bRefuse = true;
    const TIMESECS tToday = m_clock.Now();
    m_clock.SetZone(9 * 3600 - 30);
    EXPECT_EQ(Tick(), GUARD_ACTION::ZONE_NOT_RESTORED);
    for (int i = 0; i < 60; ++i) EXPECT_EQ(Tick(), GUARD_ACTION::NONE) << "not fought over at every tick";
    EXPECT_EQ(m_events.Count(EVENT_KIND::ZONE_NOT_RESTORED), 1u);
    EXPECT_EQ(m_guard.Zone(), "UTC0");
    EXPECT_NE(CClock::SystemLocal(m_clock.Now()).nDay, CClock::SystemLocal(tToday).nDay) << "the system's new day";
    EXPECT_TRUE(CClock::IsSameDate(tToday, m_clock.Now())) << "the held day runs on";
    EXPECT_EQ(CClock::ToLocal(m_clock.Now()).nHour, 15);

    // The Administrator's start accepts the system's zone.
    m_guard.Start();
    EXPECT_EQ(m_guard.Zone(), "UTC32370");
    EXPECT_EQ(CClock::JudgedZone(), "");
}

TEST_F(ClockGuard, WhatARefusalHoldsIsLetGoWhenTheGuardEnds) {
    m_actions.m_bRefuse = true;
    {
        CClockGuard guard;
        guard.Start();
        m_clock.SetZone(3600);
        m_clock.Turn(7200);
        guard.SetTimeChange();
        EXPECT_EQ(guard.Check(CClockGuard::CHILD), GUARD_ACTION::CLOCK_NOT_RESTORED);
        EXPECT_EQ(CClock::JudgedZone(), "UTC0");
        EXPECT_EQ(CClock::HeldBehind(), 7200);
    }
    EXPECT_EQ(CClock::JudgedZone(), "");
    EXPECT_EQ(CClock::HeldBehind(), 0);
    EXPECT_EQ(CClock::Now(), m_clock.Now());
}

TEST_F(ClockGuard, TheTrueTimeFollowsTheRunningClockNotTheWallClock) {
    m_clock.AdvanceMs(1500);
    EXPECT_EQ(m_guard.TrueNow(), m_tStart + 1);
    m_clock.Turn(-600);
    EXPECT_EQ(m_guard.TrueNow(), m_tStart + 1);
}

TEST_F(ClockGuard, AZoneHeldFromARunThatWasKilledIsSetBackAtTheFirstCheck) {
    // The program was killed, the zone moved, and the program started again in the new zone.
    m_clock.SetZone(9 * 3600);
    CClockGuard restarted;
    restarted.Start();
    restarted.HoldZone("UTC0");
    EXPECT_EQ(restarted.Check(CClockGuard::NOBODY), GUARD_ACTION::ZONE_RESTORED);
    EXPECT_EQ(CClock::Zone(), "UTC0");
}
