// The usage context's tests and the states' texts, each state set up directly.
#include <gtest/gtest.h>

#include "core/rules/UsageContext.h"
#include "core/rules/UsageState.h"
#include "core/store/PrjStore.h"
#include "core/store/UsageStore.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"

namespace {

// A context on a day arrangement, as a start leaves it, without the files.
struct CDayFixture {
    CDayPrj day;
    CUsageContext context{"kid"};
    // Today is day, begun at tNow; the copy of the last save is the same arrangement.
    void Begin(TIMESECS tNow = 0) {
        context.StartDay(day, tNow, 0);
        context.SnapshotPrj();
    }
    // The counters as a snapshot holds them (-1: the rule is off or no rest runs).
    void Counters(int nTotalLeft, int nBeforeRest = 1500, int nRestLeft = -1, int nStateId = -1) {
        USAGE_RECORD record = context.ToRecord();
        record.nTotalSecsLeft = nTotalLeft, record.nUseSecsBeforeRest = nBeforeRest;
        record.nRestSecsLeft = nRestLeft, record.nStateId = nStateId;
        context.TakeRecord(record);
    }
    void Enter(int nId) { context.ChangeState(CUsageState::Create(nId)); }
};

}  // namespace

TEST(UsageContext, BothEndsOfThePeriodAreOutside) {
    CTimeZone zone("UTC0");
    CDayFixture f;
    f.Begin();
    const struct {
        int h, m, s;
        bool bOutside;
    } cases[] = {{7, 29, 59, true}, {7, 30, 0, true}, {7, 30, 1, false}, {12, 0, 0, false},
                 {21, 59, 59, false}, {22, 0, 0, true}, {23, 59, 59, true}, {0, 0, 0, true}};
    for (const auto& c : cases)
        EXPECT_EQ(f.context.IsOutsidePeriod(CClock::MakeLocal(2026, 5, 12, c.h, c.m, c.s)), c.bOutside)
            << c.h << ":" << c.m << ":" << c.s;
    // The bounds follow a change of the arrangement and of the date.
    f.day.m_nEndHour = 21;
    f.Begin();
    EXPECT_TRUE(f.context.IsOutsidePeriod(CClock::MakeLocal(2026, 5, 12, 21, 0, 0)));
    EXPECT_FALSE(f.context.IsOutsidePeriod(CClock::MakeLocal(2026, 5, 13, 20, 59, 59)));
    EXPECT_TRUE(f.context.IsOutsidePeriod(CClock::MakeLocal(2026, 5, 13, 7, 30, 0)));
    f.day.m_bPeriod = 0;
    f.Begin();
    EXPECT_FALSE(f.context.IsOutsidePeriod(CClock::MakeLocal(2026, 5, 12, 3, 0, 0)));
}

TEST(UsageContext, NewDayComparesTheWholeDate) {
    CTimeZone zone("UTC0");
    CFakeClock clock;
    CDayFixture f;
    f.Begin(CClock::MakeLocal(2026, 3, 31, 10, 0, 0));
    const struct {
        int y, mo, d, h;
        bool bNewDay;
    } cases[] = {{2026, 3, 31, 23, false}, {2026, 4, 1, 0, true},
                 // Same day of the month, another month or year: still a new day.
                 {2026, 5, 31, 10, true}, {2027, 3, 31, 10, true}};
    for (const auto& c : cases) {
        clock.SetLocal(c.y, c.mo, c.d, c.h, 0, 0);
        EXPECT_EQ(f.context.IsNewDay(), c.bNewDay) << c.y << "-" << c.mo << "-" << c.d;
    }
}

TEST(UsageContext, ArrangementChangesThatMatter) {
    struct Case {
        const char* pszName;
        void (*change)(CDayPrj&);
        bool bUnchanged;
    };
    const Case cases[] = {
        {"nothing", [](CDayPrj&) {}, true},
        {"minutes of a disabled total", [](CDayPrj& d) { d.m_nTotalMinutes = 45; }, true},
        {"total switched off", [](CDayPrj& d) { d.m_bTotalLimit = 0; }, false},
        {"total minutes", [](CDayPrj& d) { d.m_nTotalMinutes = 45; }, false},
        {"rest interval", [](CDayPrj& d) { d.m_nRestEvery = 30; }, false},
        {"rest length", [](CDayPrj& d) { d.m_nRestMinutes = 5; }, false},
        {"period end", [](CDayPrj& d) { d.m_nEndMinute = 30; }, false},
        {"forbid", [](CDayPrj& d) { d.m_bForbid = 1; }, false},
        {"free", [](CDayPrj& d) { d.m_bFree = 1; }, false},
    };
    for (const Case& c : cases) {
        CDayFixture f;
        if (c.pszName == std::string("minutes of a disabled total")) f.day.m_bTotalLimit = 0;
        f.Begin();
        c.change(f.day);
        f.context.StartDay(f.day, 0, 0);  // today changed; the copy of the last save did not
        EXPECT_EQ(f.context.IsPrjUnchanged(), c.bUnchanged) << c.pszName;
    }
}

TEST(UsageContext, AStoredStateThatIsNoRealOneDecidesAnew) {
    // A damaged or edited use.sta: an id no state has, or one of the states that only hand over
    // (the undecided state, the changed arrangement). Each resumes in a state that counts and
    // locks, with its texts, never in a hand-over state (which would count nothing, unlocked).
    CTimeZone zone("UTC0");
    CFakeClock clock;
    clock.SetLocal(2026, 5, 12, 12, 0, 0);
    for (int nId : {0, 1, 3, 25, 99, -7, int(STATE_UNDIFIED), int(STATE_ONLINE_PRJ_CHANGED)}) {
        CDayFixture f;
        f.Begin(CClock::Now());
        f.Counters(100, 1500, -1, nId);
        f.context.RecreateState();
        EXPECT_EQ(f.context.GetStateId(), STATE_ALLOWED) << "stored id " << nId;
        EXPECT_EQ(f.context.Texts().strHeadline, "Computer are allowed now") << "stored id " << nId;
        f.context.OnTimer(60);
        EXPECT_EQ(f.context.UsedSecs(), 60) << "stored id " << nId << ": the use is counted";
    }
}

TEST(UsageContext, UserWithoutAWeekGetsTheDefaultWeekSaved) {
    CTimeZone zone("UTC0");
    CTempFolder folder;
    CFakeClock clock;
    clock.SetLocal(2026, 5, 12, 8, 0, 0);
    CPrjStore prjStore;
    prjStore.Add(CUserPrj("other"));
    prjStore.Save();

    CUsageStore usageStore;
    CUsageContext context;
    context.Start("kid", false, prjStore, usageStore);
    EXPECT_EQ(context.GetStateId(), STATE_ALLOWED);
    EXPECT_EQ(context.TotalSecsLeft(), 5400);
    EXPECT_EQ(context.UseSecsBeforeRest(), 1500);

    CPrjStore reread;
    ASSERT_TRUE(reread.Load());
    ASSERT_NE(reread.Find("kid"), nullptr);
    EXPECT_EQ(reread.Find("kid")->m_days[2], CDayPrj());
    EXPECT_EQ(reread.GetList().front().m_strUser, "other");
}

namespace {

// Every state's four texts and lock kind, with a rest of 605 seconds left where one runs.
struct TextCase {
    int nId;
    const char* pszHeadline;
    const char* pszExplanation;
    const char* pszMiniText;
    const char* pszStatusLine;
    int nLockKind;
};

const char* const CLICK = "Click the button \"Start to use\" to unlock";

}  // namespace

TEST(UsageStates, StatusTextsOfEveryState) {
    CTimeZone zone("UTC0");
    CFakeClock clock;
    clock.SetLocal(2026, 5, 12, 12, 0, 0);
    const TextCase cases[] = {
        {STATE_ALLOWED, "Computer are allowed now", "10 minutes left to lock (Run out of the total PC time)", "10:00",
         "10:00 left to lock (Run out of total PC time)", 3},
        {STATE_TOTAL_USED_UP, "Computer are prohibited now", "Run out of permitted time for today", "mm:ss",
         "Run out of permitted time for today", 1},
        {STATE_FORBID_DAY, "Computer are prohibited now", "According to the settings, Computer are prohibited today",
         "mm:ss", "", 1},
        {STATE_OUT_OF_PERIOD, "Computer are prohibited at present",
         "Only between 07:30 to 22:00 can Computer be used", "mm:ss", "", 1},
        {STATE_PERIOD_ARRIVED, "Permission periods arrived", CLICK, "mm:ss", CLICK, 2},
        {STATE_FORCED_REST, "Locked for mandatory rest", "unlock after about 10 minutes 5 seconds", "10:05",
         "unlock after 10:05", 1},
        {STATE_REST_DONE, "Have rest for more than 10 minutes", CLICK, "mm:ss", CLICK, 2},
        {STATE_USER_LOCKED, "Computer has been locked", CLICK, "mm:ss", CLICK, 2},
        {STATE_NEW_DAY, "New day arrives", CLICK, "mm:ss", CLICK, 2},
    };
    for (const TextCase& c : cases) {
        CDayFixture f;
        f.Begin(CClock::Now());
        f.Counters(600, 1500, 605);
        f.Enter(c.nId);
        const STATE_TEXTS texts = f.context.Texts();
        EXPECT_EQ(texts.strHeadline, c.pszHeadline) << "state " << c.nId;
        EXPECT_EQ(texts.strExplanation, c.pszExplanation) << "state " << c.nId;
        EXPECT_EQ(texts.strMiniText, c.pszMiniText) << "state " << c.nId;
        EXPECT_EQ(texts.strStatusLine, c.pszStatusLine) << "state " << c.nId;
        EXPECT_EQ(f.context.GetLockKind(), c.nLockKind) << "state " << c.nId;
    }
}

TEST(UsageStates, AllowedClockTextOnlyWithinTheHour) {
    CTimeZone zone("UTC0");
    CFakeClock clock;
    clock.SetLocal(2026, 5, 12, 12, 0, 0);
    for (const auto& [nLeft, pszClock] : {std::pair{3599, "59:59"}, std::pair{3600, "mm:ss"}, std::pair{61, "01:01"}}) {
        CDayFixture f;
        f.day.ClearLimits();
        f.day.m_bTotalLimit = 1;
        f.Begin(CClock::Now());
        f.Counters(nLeft);
        f.Enter(STATE_ALLOWED);
        EXPECT_EQ(f.context.Texts().strMiniText, pszClock) << nLeft;
    }
}

TEST(UsageStates, DecidePicksTheFirstLockThatApplies) {
    CTimeZone zone("UTC0");
    CFakeClock clock;
    struct Case {
        const char* pszName;
        int nHour;
        void (*adjust)(CDayPrj&);
        int nTotalLeft;
        int nState;
    };
    const Case cases[] = {
        {"forbidden beats all", 12, [](CDayPrj& d) { d.m_bForbid = 1; }, 0, STATE_FORBID_DAY},
        {"total used up", 3, [](CDayPrj&) {}, 0, STATE_TOTAL_USED_UP},
        {"total over-used", 12, [](CDayPrj&) {}, -600, STATE_TOTAL_USED_UP},
        {"outside period", 3, [](CDayPrj&) {}, 10, STATE_OUT_OF_PERIOD},
        {"allowed", 12, [](CDayPrj&) {}, 10, STATE_ALLOWED},
        {"free day at night", 3, [](CDayPrj& d) { d.ClearLimits(), d.m_bFree = 1; }, -1, STATE_ALLOWED},
        {"total off ignores the count", 12, [](CDayPrj& d) { d.m_bTotalLimit = 0; }, 0, STATE_ALLOWED},
    };
    for (const Case& c : cases) {
        clock.SetLocal(2026, 5, 12, c.nHour, 0, 0);
        CDayFixture f;
        c.adjust(f.day);
        f.Begin(CClock::Now());
        f.Counters(c.nTotalLeft);
        f.context.ResetState();
        EXPECT_EQ(f.context.GetStateId(), c.nState) << c.pszName;
        EXPECT_EQ(f.context.ToRecord().nStateId, c.nState) << c.pszName << ": the id a save keeps";
    }
}
