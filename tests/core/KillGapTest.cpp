// The time the program was ended while Windows ran on counts as the child's use, on the fake clock;
// an announced end of the Windows session excuses it only when the session really ended.
#include <gtest/gtest.h>

#include "core/rules/KillGap.h"
#include "EngineDriver.h"
#include "support/EventRecorder.h"
#include "support/FakeDesktop.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"

namespace {

class KillGap : public ::testing::Test {
protected:
    KillGap() {
        m_clock.SetZone(0);
        CPrjStore prj;
        prj.Add(CUserPrj("kid"));
        prj.Save();
    }
    const USAGE_RECORD* Stored() {
        m_reread.Load();
        return m_reread.Find("kid");
    }

    CTempFolder m_folder;
    CFakeClock m_clock{1778576400};  // 2026-05-12 09:00 UTC
    CEventRecorder m_events;
    CUsageStore m_store, m_reread;
};

}  // namespace

TEST_F(KillGap, AKillWhileAChildUsedTheComputerCountsFromTheLastSaveToTheRestart) {
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    kid.Ticks(90);  // saved at 60 s; 30 s not saved when the program is killed
    const TIMESECS tLastBeat = m_clock.Now();
    m_clock.Advance(40);  // nothing runs for 40 s
    const CKillGap gap(tLastBeat, "kid");
    EXPECT_TRUE(gap.WasKilled());
    EXPECT_EQ(gap.Gap(), 40);
    EXPECT_EQ(gap.Account(m_store), 70);
    ASSERT_NE(Stored(), nullptr);
    EXPECT_EQ(Stored()->nUsedSecs, 130) << "the 30 unsaved seconds and the 40 of the gap";
    EXPECT_EQ(Stored()->tLastSave, m_clock.Now());
    EXPECT_EQ(m_events.Count(EVENT_KIND::PROGRAM_KILLED), 1u);

    // The resumed login takes the day on from there, without a rest credit for the gap.
    CEngineDriver again(m_clock);
    again.Login("kid", true);
    EXPECT_EQ(again.State(), STATE_ALLOWED);
    EXPECT_EQ(again.Context().UsedSecs(), 130);
}

TEST_F(KillGap, NothingIsCountedAfterABootAnOrderlyEndARestOrANewDay) {
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    kid.Ticks(60);
    const TIMESECS tLastBeat = m_clock.Now();
    m_clock.Advance(600);

    m_clock.SetBootTime(tLastBeat + 100);  // Windows was restarted since the last beat
    EXPECT_FALSE(CKillGap(tLastBeat, "kid").WasKilled());
    EXPECT_EQ(CKillGap(tLastBeat, "kid").Account(m_store), 0);
    m_clock.SetBootTime(tLastBeat - 3600);
    EXPECT_FALSE(CKillGap(0, "kid").WasKilled()) << "an orderly end leaves no beat time";
    EXPECT_EQ(CKillGap(tLastBeat, "").Account(m_store), 0) << "no child was logged in";
    EXPECT_EQ(m_events.Count(EVENT_KIND::PROGRAM_KILLED), 1u) << "but the kill is recorded";

    kid.TakeRest();
    kid.Logout();
    EXPECT_EQ(CKillGap(tLastBeat, "kid").Account(m_store), 0) << "a rest running on is no use";

    CEngineDriver other(m_clock);
    other.Login("kid", true);
    other.Ticks(1);
    m_clock.Advance(86400);
    EXPECT_EQ(CKillGap(tLastBeat, "kid").Account(m_store), 0) << "another day";
    EXPECT_EQ(Stored()->nUsedSecs, 60);
}

TEST_F(KillGap, AnAnnouncedEndOfTheSessionCountsOnlyWhenTheLogonSessionOrTheBootChanged) {
    CFakeDesktop desktop;
    const TIMESECS tLastBeat = m_clock.Now();
    const SESSION_END_MARK mark{4242, desktop.m_nLogon, m_clock.BootTime()};
    m_clock.Advance(600);
    struct Case {
        const char* pszWhat;
        std::uint32_t nMarkPid;
        std::uint64_t nLogonNow;
        TIMESECS nBootMoved;
        bool bKilled;
    };
    const Case cases[] = {
        {"the same logon session ran on: another program sent the message", 4242, mark.nLogon, 0, true},
        {"the user logged off and on again", 4242, mark.nLogon + 1, 0, false},
        {"Windows was started again", 4242, mark.nLogon, 600, false},
        {"the mark of another run says nothing of this one", 77, mark.nLogon + 1, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        desktop.m_nLogon = c.nLogonNow;
        m_clock.SetBootTime(mark.tBoot + c.nBootMoved);
        SESSION_END_MARK left = mark;
        left.nPid = c.nMarkPid;
        EXPECT_EQ(CKillGap(tLastBeat, "kid", 4242, left).WasKilled(), c.bKilled);
    }

    // The mark speaks for one start: it is read once, and whole.
    ASSERT_TRUE(CSessionEndMark::Save(mark));
    const std::optional<SESSION_END_MARK> taken = CSessionEndMark::Take();
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->nPid, 4242u);
    EXPECT_EQ(taken->nLogon, mark.nLogon);
    EXPECT_EQ(taken->tBoot, mark.tBoot);
    EXPECT_FALSE(CSessionEndMark::Take().has_value());
    m_folder.Write(CSessionEndMark::FILE_NAME, BYTES(23, 0x51));
    EXPECT_FALSE(CSessionEndMark::Take().has_value()) << "a file cut short is no mark";
}
