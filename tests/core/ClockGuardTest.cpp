// The clock guard, checked once a second as the controller checks it, on the fake clock.
#include <gtest/gtest.h>

#include <vector>

#include "core/rules/ClockGuard.h"
#include "core/seams/SystemActions.h"
#include "support/EventRecorder.h"
#include "support/FakeClock.h"

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

    // One second passes and the guard checks.
    GUARD_ACTION Tick() {
        m_clock.Advance(1);
        return m_guard.Check();
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
        EXPECT_EQ(m_guard.Check(), GUARD_ACTION::CLOCK_RESTORED);
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
    m_clock.Turn(3600);
    EXPECT_EQ(Tick(), GUARD_ACTION::WAITING);
    Tick();
    m_guard.SetTimeChange();
    EXPECT_EQ(m_guard.Check(), GUARD_ACTION::CLOCK_RESTORED);
    EXPECT_EQ(m_clock.Now(), m_tStart + 3) << "three seconds really passed";
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
    EXPECT_EQ(m_guard.Check(), GUARD_ACTION::CLOCK_RESTORED);
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

TEST_F(ClockGuard, ARefusedSettingIsLoggedAndTheTurnedClockBecomesTheTruth) {
    m_actions.m_bRefuse = true;
    Tick();
    m_clock.Turn(3600);
    m_guard.SetTimeChange();
    EXPECT_EQ(m_guard.Check(), GUARD_ACTION::CLOCK_NOT_RESTORED);
    EXPECT_EQ(m_events.Count(EVENT_KIND::CLOCK_NOT_RESTORED), 1u);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(Tick(), GUARD_ACTION::NONE);
    EXPECT_EQ(m_actions.m_sets.size(), 1u);
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

TEST_F(ClockGuard, ARefusedZoneIsLetGoWhenTheGuardEnds) {
    m_actions.m_bRefuse = true;
    {
        CClockGuard guard;
        guard.Start();
        m_clock.SetZone(3600);
        EXPECT_EQ(guard.Check(), GUARD_ACTION::ZONE_NOT_RESTORED);
        EXPECT_EQ(CClock::JudgedZone(), "UTC0");
    }
    EXPECT_EQ(CClock::JudgedZone(), "");
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
    EXPECT_EQ(restarted.Check(), GUARD_ACTION::ZONE_RESTORED);
    EXPECT_EQ(CClock::Zone(), "UTC0");
}
