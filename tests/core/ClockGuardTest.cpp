// The clock guard, fed one tick a second as the status window feeds it.
#include <gtest/gtest.h>

#include <vector>

#include "engine/ClockGuard.h"
#include "seams/SystemActions.h"
#include "support/FakeClock.h"
#include "support/TimeZone.h"

namespace {

// Setting the time moves the fake clock (unless refused); everything else is refused.
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
    bool m_bRefuse = false;

private:
    CFakeClock& m_clock;
};

class ClockGuard : public ::testing::Test {
protected:
    ClockGuard() { m_guard.Fill(m_clock.Now()); }

    // One status-window tick; returns true when the guard set the clock.
    bool Tick() {
        m_clock.Advance(1);
        m_guard.Push(m_clock.Now());
        return m_guard.CheckAndRestore();
    }
    // Ticks until the guard acts; returns the ticks taken, or -1 when it did not within 30.
    int TicksUntilRestore() {
        for (int i = 1; i <= 30; ++i)
            if (Tick()) return i;
        return -1;
    }

    CTimeZone m_zone{"UTC0"};
    const TIMESECS m_tStart = CClock::MakeLocal(2026, 5, 12, 15, 0, 0);
    CFakeClock m_clock{m_tStart};
    CClockSettingActions m_actions{m_clock};
    CClockGuard m_guard;
};

}  // namespace

TEST_F(ClockGuard, ClockTurnedAheadIsTurnedBackAboutTenSecondsLater) {
    for (int i = 0; i < 100; ++i) ASSERT_FALSE(Tick());
    m_clock.Advance(2 * 3600);
    m_guard.SetTimeChange(m_clock.Now());
    EXPECT_EQ(TicksUntilRestore(), 10);
    ASSERT_EQ(m_actions.m_sets.size(), 1u);
    // The last tick before the jump plus the ten ticks since: where the clock should be.
    EXPECT_EQ(m_clock.Now(), m_tStart + 110);
    // Acted on once: the history and the marks start over.
    for (int i = 0; i < 40; ++i) EXPECT_FALSE(Tick());
}

TEST_F(ClockGuard, ClockTurnedBackIsTurnedForward) {
    for (int i = 0; i < 20; ++i) Tick();
    m_clock.Advance(-3 * 3600);
    m_guard.SetTimeChange(m_clock.Now());
    EXPECT_EQ(TicksUntilRestore(), 10);
    EXPECT_EQ(m_clock.Now(), m_tStart + 30);
}

TEST_F(ClockGuard, JumpsThatAreNotAChangeOfTheClockAreLeftAlone) {
    struct Case {
        const char* pszName;
        TIMESECS nJump;
        bool bChangeNotice, bResumeNotice;
    };
    const Case cases[] = {
        {"resume from an hour of sleep", 3600, true, true},
        {"resume without a time-change notice", 3600, false, true},
        {"correction of 20 seconds", 20, true, false},
        {"ticks 30 seconds apart", 29, true, false},
        {"jump without a notice", 7200, false, false},
    };
    for (const Case& c : cases) {
        m_guard.Fill(m_clock.Now());
        for (int i = 0; i < 25; ++i) Tick();
        m_clock.Advance(c.nJump);
        if (c.bChangeNotice) m_guard.SetTimeChange(m_clock.Now());
        if (c.bResumeNotice) m_guard.SetResume(m_clock.Now());
        EXPECT_EQ(TicksUntilRestore(), -1) << c.pszName;
    }
    EXPECT_TRUE(m_actions.m_sets.empty());
}

TEST_F(ClockGuard, NoticeOutsideTheRecentTicksDoesNotCount) {
    for (int i = 0; i < 5; ++i) Tick();
    m_guard.SetTimeChange(m_clock.Now());  // a small change, long before the jump
    for (int i = 0; i < 30; ++i) Tick();
    m_clock.Advance(3600);
    EXPECT_EQ(TicksUntilRestore(), -1);
}

TEST_F(ClockGuard, RefusedSettingStillStartsTheHistoryOver) {
    m_actions.m_bRefuse = true;
    for (int i = 0; i < 30; ++i) Tick();
    m_clock.Advance(3600);
    m_guard.SetTimeChange(m_clock.Now());
    EXPECT_EQ(TicksUntilRestore(), 10);
    EXPECT_EQ(m_clock.Now(), m_tStart + 3600 + 40);
    for (int i = 0; i < 30; ++i) EXPECT_FALSE(Tick());
    EXPECT_EQ(m_actions.m_sets.size(), 1u);
}
