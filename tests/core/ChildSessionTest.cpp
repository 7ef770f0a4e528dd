// A child's session as the status window runs it, on the fake clock: a whole evening to midnight,
// and saves that fail. (Restarts and the day's rules are in EngineDayTest, which drives the same
// session.)
#include <gtest/gtest.h>

#include "core/rules/ExtraTime.h"
#include "core/store/HistoryFile.h"
#include "EngineDriver.h"
#include "support/FailingFiles.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"

namespace {

class ChildSession : public ::testing::Test {
protected:
    // kid's Tuesday allows 30 minutes in all; Wednesday is forbidden.
    ChildSession() {
        CUserPrj week("kid");
        week.m_days[2].ClearLimits();
        week.m_days[2].m_bTotalLimit = 1, week.m_days[2].m_nTotalHours = 0, week.m_days[2].m_nTotalMinutes = 30;
        week.m_days[3].m_bForbid = 1;
        CPrjStore prj;
        prj.Add(week);
        prj.Save();
    }
    int StoredUsedSecs() const {
        CUsageStore store;
        store.Load();
        const USAGE_RECORD* pKid = store.Find("kid");
        return pKid ? pKid->nUsedSecs : -1;
    }

    // The machine's own zone is far away: the session's day follows the clock's zone (UTC+1).
    CTimeZone m_zone{"JST-9"};
    CTempFolder m_folder;
    CFakeClock m_clock;
};

}  // namespace

TEST_F(ChildSession, AnEveningCountedByTheRunningClockSavedEachMinuteAndClosedAtMidnight) {
    m_clock.SetZone(3600);
    m_clock.SetLocal(2026, 5, 12, 22, 0, 0);  // a Tuesday
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    ASSERT_EQ(kid.State(), STATE_ALLOWED);
    EXPECT_EQ(StoredUsedSecs(), 0) << "saved at the login";

    // Saved once 60 seconds were counted, not before.
    kid.Ticks(59);
    EXPECT_EQ(StoredUsedSecs(), 0);
    EXPECT_EQ(kid.Tick().save, CChildSession::SAVE::SAVED);
    EXPECT_EQ(StoredUsedSecs(), 60);
    // A queue that stood still for 13 seconds: one tick counts all 14; an hour asleep counts nothing.
    m_clock.Advance(13);
    EXPECT_EQ(kid.Tick().nSeconds, 14);
    m_clock.Sleep(3600);
    EXPECT_EQ(kid.Tick().nSeconds, 1);
    EXPECT_EQ(kid.Context().UsedSecs(), 75);
    // Another window reads prj.nam again (the history window does): the session keeps its day.
    ASSERT_TRUE(kid.Store().m_prjStore.Load());
    EXPECT_EQ(kid.Context().TodayPrj()->m_nTotalMinutes, 30);

    // The total: locked, as the session answers.
    EXPECT_EQ(kid.TicksUntil(STATE_TOTAL_USED_UP, 3600), 1725);
    EXPECT_FALSE(kid.Session().MayUseNow());
    EXPECT_TRUE(kid.Session().IsTotalUsedUp());
    EXPECT_TRUE(kid.Session().IsInsidePeriod()) << "a day without a period is inside it all day";

    // The Administrator grants the rest of the day: in at once, and in use when midnight comes.
    const int nExtra = ExtraGrantSeconds(EXTRA_GRANT::REST_OF_DAY, m_clock.Now());
    ASSERT_EQ(nExtra, 30 * 60) << "23:30 on the clock's zone, the hour asleep included";
    EXPECT_TRUE(kid.Session().GrantExtra(nExtra, kid.Mini()));
    EXPECT_TRUE(kid.Session().MayUseNow());
    EXPECT_FALSE(kid.Session().IsTotalUsedUp());
    EXPECT_EQ(kid.TicksUntil(STATE_NEW_DAY, 90 * 60), nExtra);
    EXPECT_EQ(kid.Context().UsedSecs(), 1800 + nExtra) << "the day ends with what it held";

    // The ended day is in the history at once: 60 minutes used of 30, one lock, 30 extra.
    CHistoryFile history;
    ASSERT_TRUE(history.Load());
    ASSERT_EQ(history.Lines().size(), 1u);
    EXPECT_EQ(history.Lines()[0], (HISTORY_LINE{20260512, "kid", 60, 30, 1, 30, ""}));

    // The next tick reloads Wednesday, which waits for "Start to use"; then it is forbidden.
    const CChildSession::TICK tick = kid.Tick();
    EXPECT_TRUE(tick.bNewDay);
    EXPECT_EQ(kid.State(), STATE_NEW_DAY);
    EXPECT_EQ(kid.Context().UsedSecs(), 0);
    EXPECT_EQ(kid.Context().ExtraSecsLeft(), 0) << "extra time is the day's";
    EXPECT_EQ(kid.Context().TodayPrj()->m_bForbid, 1);
    kid.StartToUse();
    EXPECT_EQ(kid.State(), STATE_FORBID_DAY);
    EXPECT_FALSE(kid.Session().MayUseNow());
}

TEST_F(ChildSession, SavesThatFailAreReportedAndTheNextOneThatWorksWritesTheWholeDay) {
    m_clock.SetZone(3600);
    m_clock.SetLocal(2026, 5, 12, 9, 0, 0);
    CDataStore store;
    CChildSession session(store, "kid");
    const CChildSession::MINI_PLACE mini;
    auto TicksUntilSaveTried = [&] {
        for (int i = 1; i <= 120; ++i) {
            m_clock.Advance(1);
            if (const CChildSession::TICK tick = session.Tick(mini); tick.save != CChildSession::SAVE::NONE)
                return std::make_pair(i, tick.save);
        }
        return std::make_pair(-1, CChildSession::SAVE::NONE);
    };
    {
        // The disk refuses to put any file in place.
        CFailingFiles failing;
        failing.Fail(CFailingFiles::kReplace);
        EXPECT_FALSE(session.Start()) << "the active-user list was not saved";
        EXPECT_FALSE(session.Save(mini)) << "the usage was not saved";
        EXPECT_EQ(TicksUntilSaveTried(), std::make_pair(60, CChildSession::SAVE::FAILED));
        EXPECT_FALSE(m_folder.Exists("use.sta"));
    }
    // The disk is back: the next minute's save writes all the day's use, none of it lost.
    EXPECT_EQ(TicksUntilSaveTried(), std::make_pair(60, CChildSession::SAVE::SAVED));
    EXPECT_EQ(StoredUsedSecs(), 120);
}
