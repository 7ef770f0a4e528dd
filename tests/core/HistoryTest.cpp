// history.csv: the line of a day written at midnight or at the next start on a later day, never
// twice and never lost across a restart; what a spreadsheet reads (header, CR LF, quoted names).
#include <gtest/gtest.h>

#include "core/rules/DayHistory.h"
#include "core/rules/ExtraTime.h"
#include "core/store/DataStore.h"
#include "core/store/HistoryFile.h"
#include "EngineDriver.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"

namespace {

TIMESECS At(int nDay, int nHour, int nMinute, int nSecond = 0) {
    return CClock::MakeLocal(2026, 5, nDay, nHour, nMinute, nSecond);  // 12 May 2026 is a Tuesday
}

class History : public ::testing::Test {
protected:
    void SetUp() override {
        CUserPrj week("kid");
        week.m_days.fill(CDayPrj());  // total 1:30 within 07:30-22:00, rests
        week.m_days[3].m_bTotalLimit = 0;  // Wednesdays: only the period and the rests
        CPrjStore store;
        store.Add(week);
        ASSERT_TRUE(store.Save());
    }
    std::string File() const {
        const BYTES bytes = m_folder.Read(CHistoryFile::kFileName);
        return std::string(bytes.begin(), bytes.end());
    }

    CTimeZone m_zone{"UTC0"};
    CTempFolder m_folder;
    CFakeClock m_clock;
};

}  // namespace

TEST_F(History, MidnightWritesTheDayOnceAndALaterStartAddsNothing) {
    // At 23:00 the period is over; half an hour more, of which 25 minutes are used before the
    // rest, which nobody ends with "Start to use".
    m_clock.Set(At(12, 23, 0));
    CEngineDriver kid(m_clock);
    kid.Login("kid");
    kid.Session().GrantExtra(ExtraGrantSeconds(EXTRA_GRANT::MINUTES_30, m_clock.Now()), kid.Mini());
    ASSERT_EQ(kid.TicksUntil(STATE_NEW_DAY, 3600), 3600);
    // The session closed the day at the tick that saw midnight.
    EXPECT_EQ(File(), "date,child,minutes used,minutes allowed,locks,extra minutes\r\n"
                      "2026-05-12,kid,25,90,1,30\r\n");
    // The program is started again in the morning: use.sta still holds the last minute's save of
    // the 12th, but the day is in the file already.
    m_clock.Set(At(13, 8, 0));
    CDataStore store;
    CDayHistory::CloseEndedDays(store, m_clock.Now());
    EXPECT_EQ(File(), "date,child,minutes used,minutes allowed,locks,extra minutes\r\n"
                      "2026-05-12,kid,25,90,1,30\r\n");
}

TEST_F(History, ADayNotClosedAtMidnightIsWrittenAtTheNextStartOnALaterDay) {
    m_clock.Set(At(13, 10, 0));  // a Wednesday: 07:30 to 22:00 allows 870 minutes
    {
        CEngineDriver kid(m_clock);
        kid.Login("kid");
        kid.Ticks(40 * 60 + 30);
        kid.Logout();  // the program ends, nothing more runs that day
    }
    CDataStore store;
    m_clock.Set(At(13, 23, 0));
    CDayHistory::CloseEndedDays(store, m_clock.Now());
    EXPECT_FALSE(CHistoryFile().Load()) << "the day has not ended";

    m_clock.Set(At(15, 9, 0));  // two days later
    CDayHistory::CloseEndedDays(store, m_clock.Now());
    CDayHistory::CloseEndedDays(store, m_clock.Now());
    CHistoryFile history;
    ASSERT_TRUE(history.Load());
    ASSERT_EQ(history.Lines().size(), 1u);
    // 10 minutes of rest on the way: 40 minutes 30 seconds on the clock, fewer of use.
    const HISTORY_LINE& line = history.Lines()[0];
    EXPECT_EQ(line.nDate, 20260513);
    EXPECT_EQ(line.strUser, "kid");
    EXPECT_EQ(line.nAllowedMinutes, 870);
    EXPECT_GT(line.nUsedMinutes, 0);
    EXPECT_LE(line.nUsedMinutes, 40);
    EXPECT_EQ(line.nLocks, 1);
    EXPECT_EQ(line.nExtraMinutes, 0);
}

TEST_F(History, NamesASpreadsheetMustSeeQuotedReadBackAndBrokenLinesAreSkipped) {
    const HISTORY_LINE odd{20261231, "Ann, \"Jr\"", 5, 1440, 0, 60, ""};
    EXPECT_EQ(CHistoryFile::Format(odd), "2026-12-31,\"Ann, \"\"Jr\"\"\",5,1440,0,60");
    EXPECT_EQ(CHistoryFile::Format({20260101, "two\r\nlines", 1, 2, 3, 4, ""}), "2026-01-01,two  lines,1,2,3,4");
    HISTORY_LINE back;
    ASSERT_TRUE(CHistoryFile::Parse(CHistoryFile::Format(odd), back));
    EXPECT_EQ(back, odd);
    for (const char* pszBad : {"2026-12-31,kid,5,1440,0", "2026-12-31,kid,5,1440,0,x", "31.12.2026,kid,5,1440,0,60",
                               "2026-12-31,\"kid,5,1440,0,60", CHistoryFile::kHeader})
        EXPECT_FALSE(CHistoryFile::Parse(pszBad, back)) << pszBad;

    m_folder.Write(CHistoryFile::kFileName, [] {
        const std::string strText =
            std::string(CHistoryFile::kHeader) + "\r\n\"not a line\r\n2026-05-01,kid,10,90,1,0";
        return BYTES(strText.begin(), strText.end());
    }());
    CHistoryFile history;
    ASSERT_TRUE(history.Append(odd));
    // A quote left open by hand spoils its own line only.
    EXPECT_EQ(File(), std::string(CHistoryFile::kHeader) + "\r\n\"not a line\r\n2026-05-01,kid,10,90,1,0\r\n" +
                          CHistoryFile::Format(odd) + "\r\n");
    ASSERT_TRUE(history.Load());
    EXPECT_EQ(history.Lines().size(), 2u);
}

TEST(DayHistory, AllowedMinutesAreTheLeastOfTotalAndPeriod) {
    CDayPrj day;  // 1:30 within 07:30-22:00
    EXPECT_EQ(CDayHistory::AllowedMinutes(day), 90);
    day.m_nTotalHours = 20;
    EXPECT_EQ(CDayHistory::AllowedMinutes(day), 870);
    day.m_bPeriod = day.m_bTotalLimit = 0;
    EXPECT_EQ(CDayHistory::AllowedMinutes(day), 1440);
    day.m_bForbid = 1;
    EXPECT_EQ(CDayHistory::AllowedMinutes(day), 0);
}
