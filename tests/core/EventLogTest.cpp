// events.log: lines a parent reads in Notepad, bounded, torn last lines dropped, a copy that
// outlives the file, and the events since the Administrator's last login.
#include <gtest/gtest.h>

#include <string>

#include "core/seams/Events.h"
#include "core/store/EventLog.h"
#include "core/store/EventLogSink.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"

namespace {
std::string Text(const BYTES& bytes) { return std::string(bytes.begin(), bytes.end()); }
}  // namespace

TEST(EventLog, OneTabSeparatedLinePerEventInLocalTime) {
    CTempFolder folder;
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 9, 5, 7)};
    ASSERT_TRUE(CEventLog::Append(CEventLog::kWrongPassword, "Administrator", "at the\tlock\r\nscreen"));
    ASSERT_TRUE(CEventLog::Append(CEventLog::kRestored, "", "use.sta"));
    EXPECT_EQ(Text(folder.Read("events.log")),
              "2026-05-12 09:05:07\twrong password\tAdministrator\tat the lock  screen\r\n"
              "2026-05-12 09:05:07\trestored\t-\tuse.sta\r\n");
    const std::vector<EVENT_ENTRY> entries = CEventLog::ReadAll();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].strKind, "restored");
    EXPECT_EQ(entries[1].strAccount, "-");
    EXPECT_EQ(entries[1].strDetail, "use.sta");
    EXPECT_EQ(CEventLog::LineOf(entries[0]), "2026-05-12 09:05:07\twrong password\tAdministrator\tat the lock  screen");
}

TEST(EventLog, ATornLastLineIsDroppedAndTheNextAppendStartsAfterTheLastWholeOne) {
    CTempFolder folder;
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 9, 0, 0)};
    ASSERT_TRUE(CEventLog::Append("first", "", ""));
    BYTES torn = folder.Read("events.log");
    for (char c : std::string("2026\th")) torn.push_back(static_cast<std::uint8_t>(c));
    folder.Write("events.log", torn);
    folder.m_copies.m_copies.clear();
    ASSERT_EQ(CEventLog::ReadAll().size(), 1u);
    ASSERT_TRUE(CEventLog::Append("second", "", ""));
    const std::vector<EVENT_ENTRY> entries = CEventLog::ReadAll();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].strKind, "second");
    EXPECT_EQ(Text(folder.Read("events.log")).find("\th"), std::string::npos);
}

TEST(EventLog, TheOldestLinesGoPastTheBound) {
    CTempFolder folder;
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 9, 0, 0)};
    const std::string strDetail(6000, 'x');
    int nAppended = 0;
    while (folder.Read("events.log").size() + 6100 < CEventLog::kMaxBytes)
        ASSERT_TRUE(CEventLog::Append("filler", "", std::to_string(nAppended++) + strDetail));
    for (int n = 0; n < 5; ++n) ASSERT_TRUE(CEventLog::Append("filler", "", std::to_string(nAppended++) + strDetail));
    const std::string strLog = Text(folder.Read("events.log"));
    EXPECT_LE(strLog.size(), CEventLog::kMaxBytes);
    EXPECT_GT(strLog.size(), CEventLog::kMaxBytes - 6100);
    EXPECT_EQ(strLog.rfind("2026-", 0), 0u) << "whole lines only";
    const std::vector<EVENT_ENTRY> entries = CEventLog::ReadAll();
    EXPECT_EQ(entries.back().strDetail, std::to_string(nAppended - 1) + strDetail);
    EXPECT_NE(entries.front().strDetail, "0" + strDetail) << "the oldest went";
}

TEST(EventLog, ADeletedOrCutFileIsReadFromItsCopy) {
    CTempFolder folder;
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 9, 0, 0)};
    for (const char* pszKind : {"one", "two", "three"}) ASSERT_TRUE(CEventLog::Append(pszKind, "", ""));
    folder.Write("events.log", BYTES{});
    EXPECT_EQ(CEventLog::ReadAll().size(), 3u);
    folder.Remove("events.log");
    ASSERT_TRUE(CEventLog::Append("four", "", ""));
    EXPECT_EQ(CEventLog::ReadAll().size(), 4u);
    EXPECT_EQ(folder.Read("events.log"), folder.m_copies.m_copies["events.log"]);
}

TEST(EventLog, TheEventsSinceTheLastAdministratorLogin) {
    CTempFolder folder;
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 9, 0, 0)};
    EXPECT_TRUE(CEventLog::SinceLastLogin().empty());
    ASSERT_TRUE(CEventLog::Append(CEventLog::kFirstRun, "Administrator", ""));
    EXPECT_EQ(CEventLog::SinceLastLogin().size(), 1u) << "no login yet: everything";
    ASSERT_TRUE(CEventLog::Append(CEventLog::kLogin, "Administrator", ""));
    EXPECT_TRUE(CEventLog::SinceLastLogin().empty());
    ASSERT_TRUE(CEventLog::Append(CEventLog::kWrongPassword, "Administrator", ""));
    ASSERT_TRUE(CEventLog::Append(CEventLog::kRestored, "", "use.sta"));
    const std::vector<EVENT_ENTRY> since = CEventLog::SinceLastLogin();
    ASSERT_EQ(since.size(), 2u);
    EXPECT_EQ(since[0].strKind, "wrong password");
    EXPECT_EQ(since[1].strKind, "restored");
}

TEST(EventLog, TheProgramsOwnEventsReachTheLogThroughItsSink) {
    CTempFolder folder;
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 21, 30, 0)};
    CEventLogSink sink;
    CEvents::Use(&sink);
    CEvents::Record(EVENT_KIND::ZONE_CHANGED, "The time zone was changed and has been set back.");
    CEvents::Record(EVENT_KIND::PROGRAM_KILLED, "Quenby was ended for 120 s.");
    CEvents::Use(nullptr);
    CEvents::Record(EVENT_KIND::SESSION_END, "not recorded: no sink");
    const std::vector<EVENT_ENTRY> entries = CEventLog::ReadAll();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(CEventLog::LineOf(entries[0]),
              "2026-05-12 21:30:00\tzone\t-\tThe time zone was changed and has been set back.");
    EXPECT_EQ(entries[1].strKind, "killed");
}
