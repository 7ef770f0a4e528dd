// The text table, the duration phrases and the lock countdown.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/rules/LockCountdown.h"
#include "core/rules/UsageContext.h"
#include "core/texts/Duration.h"
#include "core/texts/MsgText.h"
#include "support/FakeClock.h"
#include "support/TimeZone.h"

namespace {

const char kMissingText[] = "Error! check program";

// The identifiers the table holds, found by asking for every number up to well past the last.
std::vector<unsigned> TableIds() {
    std::vector<unsigned> ids;
    for (unsigned nId = 0; nId < 2000; ++nId)
        if (GetMsgText(nId) != kMissingText) ids.push_back(nId);
    return ids;
}

// The text identifiers the program's sources ask for by number.
std::set<unsigned> IdsUsedBySources() {
    const std::regex call(R"((?:GetMsgText|FormatMsgText)\(\s*(\d+))");
    std::set<unsigned> ids;
    for (const char* pszFolder : {"core", "win", "companion"}) {
        const std::filesystem::path folder = std::filesystem::path(QUENBY_SOURCE_DIR) / pszFolder;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            const std::string strExtension = entry.path().extension().string();
            if (strExtension != ".cpp" && strExtension != ".h") continue;
            std::ifstream file(entry.path());
            const std::string strSource((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            for (std::sregex_iterator it(strSource.begin(), strSource.end(), call), end; it != end; ++it)
                ids.insert(static_cast<unsigned>(std::stoul((*it)[1].str())));
        }
    }
    return ids;
}

// The printf conversions of a text, e.g. "%.2d" and "%s"; "%%" is none.
std::vector<std::string> Conversions(const std::string& strText) {
    const std::regex conversion(R"(%(%|[-+ #0]*[0-9]*(?:\.[0-9]+)?[a-zA-Z]))");
    std::vector<std::string> found;
    for (std::sregex_iterator it(strText.begin(), strText.end(), conversion), end; it != end; ++it)
        if ((*it)[1].str() != "%") found.push_back(it->str());
    return found;
}

// A context on today's arrangement day with the two countdowns as given (-1: the rule is off).
CUsageContext ContextOn(const CDayPrj& day, int nTotalLeft = -1, int nRestLeft = -1) {
    CUsageContext context("kid");
    context.StartDay(day, CClock::Now(), 0);
    USAGE_RECORD record = context.ToRecord();
    record.nTotalSecsLeft = nTotalLeft, record.nUseSecsBeforeRest = nRestLeft;
    context.TakeRecord(record);
    return context;
}

}  // namespace

TEST(MsgText, EveryIdentifierTheProgramAsksForHasAText) {
    const std::set<unsigned> used = IdsUsedBySources();
    ASSERT_GT(used.size(), 50u) << "the sources were not found under " << QUENBY_SOURCE_DIR;
    for (unsigned nId : used) EXPECT_NE(GetMsgText(nId), kMissingText) << "text " << nId;
}

TEST(MsgText, EveryTextIsTheSameInBothColumnsAndTakesOnlyTheConversionsTheProgramFills) {
    const std::vector<unsigned> ids = TableIds();
    ASSERT_GT(ids.size(), 100u);
    for (unsigned nId : ids) {
        const std::string strText = GetMsgText(nId);
        EXPECT_FALSE(strText.empty()) << "text " << nId;
        EXPECT_EQ(GetMsgText(nId, 1), strText) << "text " << nId << " in the second column";
        // A stray "%" would read an argument nobody passes.
        for (const std::string& strConversion : Conversions(strText))
            EXPECT_TRUE(strConversion == "%s" || strConversion == "%d" || strConversion == "%.2d")
                << "text " << nId << " takes " << strConversion;
    }
}

TEST(MsgText, TheSystemsOwnWordingIsKeptWithItsSpelling) {
    // Other windows lay these out and compare them as they stand; a well-meant correction breaks them.
    EXPECT_EQ(GetMsgText(124), "Arragements");
    EXPECT_EQ(GetMsgText(208), "Comfirm the password:");
    EXPECT_EQ(GetMsgText(296), "WelCome");
    EXPECT_EQ(GetMsgText(188), "The total permitted time \r\n should be greater than 0.");
}

TEST(MsgText, IdentifiersNotInTheTableGiveTheErrorText) {
    for (unsigned nId : {0u, 1u, 101u, 104u, 140u, 393u, 394u, 395u, 100000u, 0xFFFFFFFFu})
        EXPECT_EQ(GetMsgText(nId), kMissingText) << "text " << nId;
}

TEST(MsgText, WeekdayNamesFollowTheWeekdayNumber) {
    const char* const names[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    for (unsigned i = 0; i < 7; ++i) EXPECT_EQ(GetMsgText(126 + 2 * i), names[i]);
}

TEST(MsgText, FormatFillsTheTemplate) {
    EXPECT_EQ(FormatMsgText(120, 7, 30, 22, 0), "Use between 07:30 to 22:00");
    EXPECT_EQ(FormatMsgText(246, "kid"), "Account kid already exists!");
    EXPECT_EQ(FormatMsgText(249, 1, 2, 3), "Today total used 01:02:03 ");
    EXPECT_EQ(FormatMsgText(162, 8, 0, 21, 5), "Only between 08:00 to 21:05 can Computer be used");
    EXPECT_EQ(FormatMsgText(232, "15 minutes"), "about 15 minutes later to lock (for Beyond period)");
}

TEST(Duration, PhrasesFollowTheUnitRules) {
    struct Case {
        int h, m, s;
        const char* pszText;
    };
    const Case cases[] = {
        {0, 0, 0, "0 second"},   {0, 0, 1, "1 second"},         {0, 0, 2, "2 seconds"},
        {0, 1, 0, "1 minute"},   {0, 45, 0, "45 minutes"},      {0, 90, 0, "90 minutes"},
        {0, 1, 1, "1 minute 1 second"},                          {0, 2, 59, "2 minutes 59 seconds"},
        {1, 0, 0, "1 hour"},     {2, 0, 0, "2 hours"},          {1, 0, 5, "1 hour 5 seconds"},
        {1, 1, 1, "1 hour 1 minute 1 second"},                   {1, 2, 5, "1 hour 2 minutes 5 seconds"},
        {3, 30, 0, "3 hours 30 minutes"},                        {0, 0, 75, "75 seconds"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatHourMinSec(c.h, c.m, c.s), c.pszText) << c.h << "h " << c.m << "m " << c.s << "s";
    EXPECT_EQ(FormatSeconds(1), "1 second");
    EXPECT_EQ(FormatMinSec(0, 7), "7 seconds");
    EXPECT_EQ(FormatHourMin(0, 45), "45 minutes");
    EXPECT_EQ(FormatHourMin(1, 30), "1 hour 30 minutes");
}

TEST(Duration, SecondLanguageWritesUnitsWithoutBlanks) {
    // Code page 936: hour, minute, second.
    EXPECT_EQ(FormatHourMinSec(1, 2, 5, 1), "1\xd0\xa1\xca\xb1" "2\xb7\xd6\xd6\xd3" "5\xc3\xeb");
    EXPECT_EQ(FormatHourMinSec(2, 0, 0, 1), "2\xd0\xa1\xca\xb1");
    EXPECT_EQ(FormatHourMinSec(0, 0, 0, 1), "0\xc3\xeb");
}

namespace {

// A context with a day arrangement and counters, as the countdown reads them.
struct CountdownCase {
    const char* pszName;
    int nHour, nMinute, nSecond;  // local time of now
    bool bTotal, bRest, bPeriod;
    int nTotalLeft, nRestLeft;
    const char* pszAbout;
    const char* pszClock;
    int nSecondsToLock;
};

}  // namespace

TEST(LockCountdown, TheFirstLimitWithinTheHourIsWorded) {
    CTimeZone zone("UTC0");
    CFakeClock clock;
    const CountdownCase cases[] = {
        {"total before rest when equal", 12, 0, 0, true, true, false, 600, 600,
         "10 minutes left to lock (Run out of the total PC time)", "10:00 left to lock (Run out of total PC time)", 600},
        {"rest first", 12, 0, 0, true, true, false, 3000, 725,
         "about 12 minutes 5 seconds later to lock (for mandatory rest)", "12:05 left to lock (for mandatory rest)", 725},
        {"a count of 0 never wins", 12, 0, 0, true, true, false, 0, 300,
         "about 5 minutes later to lock (for mandatory rest)", "05:00 left to lock (for mandatory rest)", 0},
        {"3599 is not within the hour", 12, 0, 0, true, false, false, 3599, 0,
         "More than 1 hour to lock the screen", "More than 1 hour to lock the screen", 3599},
        {"3598 is", 12, 0, 0, true, false, false, 3598, 0,
         "59 minutes 58 seconds left to lock (Run out of the total PC time)", "59:58 left to lock (Run out of total PC time)", 3598},
        {"new day", 23, 30, 0, false, false, false, 0, 0,
         "about 30 minutes later to lock (new day arrives)", "30:00 left to lock (new day arrives)", 1800},
        {"new day in seconds", 23, 55, 51, false, false, false, 0, 0,
         "about 4 minutes 9 seconds later to lock (new day arrives)", "04:09 left to lock (new day arrives)", 249},
        {"nothing near", 22, 0, 0, false, false, false, 0, 0,
         "More than 1 hour to lock the screen", "More than 1 hour to lock the screen", 7200},
        {"period end", 21, 45, 0, false, false, true, 0, 0,
         "about 15 minutes later to lock (for Beyond period)", "15:00 left to lock (exceed approved period)", 900},
        {"at the period end", 22, 0, 0, false, false, true, 0, 0,
         "More than 1 hour to lock the screen", "More than 1 hour to lock the screen", 0},
        {"after the period end", 22, 0, 1, false, false, true, 0, 0,
         "More than 1 hour to lock the screen", "More than 1 hour to lock the screen", 7199},
        {"off limits do not count", 21, 59, 0, false, false, false, 10, 10,
         "More than 1 hour to lock the screen", "More than 1 hour to lock the screen", 7260},
    };
    for (const CountdownCase& c : cases) {
        clock.SetLocal(2026, 5, 12, c.nHour, c.nMinute, c.nSecond);
        CDayPrj day;
        day.ClearLimits();
        day.m_bTotalLimit = c.bTotal, day.m_bRest = c.bRest, day.m_bPeriod = c.bPeriod;
        const CUsageContext context = ContextOn(day, c.nTotalLeft, c.nRestLeft);
        CLockCountdown countdown;
        EXPECT_EQ(countdown.GetAboutText(context), c.pszAbout) << c.pszName;
        EXPECT_EQ(countdown.GetClockText(context), c.pszClock) << c.pszName;
        EXPECT_EQ(countdown.GetSecondsToLock(context), c.nSecondsToLock) << c.pszName;
    }
}

TEST(LockCountdown, CountsStayMinusOneForLimitsThatAreOff) {
    CTimeZone zone("UTC0");
    CFakeClock clock;
    clock.SetLocal(2026, 5, 12, 10, 0, 0);
    CDayPrj day;
    day.ClearLimits();
    const CUsageContext context = ContextOn(day, 100);
    CLockCountdown countdown;
    countdown.Update(context);
    EXPECT_EQ(countdown.m_nTotalLeft, -1);
    EXPECT_EQ(countdown.m_nRestLeft, -1);
    EXPECT_EQ(countdown.m_nPeriodLeft, -1);
    EXPECT_EQ(countdown.m_nNewDayLeft, 14 * 3600);
}

TEST(LockCountdown, NewDayCountsToTheNextMidnightOnDaylightSavingDays) {
    CTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    CFakeClock clock;
    CDayPrj day;
    day.ClearLimits();
    const CUsageContext context = ContextOn(day);
    CLockCountdown countdown;
    // The spring day has 23 hours, the autumn day 25: at 00:30 the next midnight is 22.5 and
    // 24.5 hours away. (On the autumn day 00:30 plus 24 hours is still the same date.)
    clock.SetLocal(2026, 3, 29, 0, 30, 0);
    countdown.Update(context);
    EXPECT_EQ(countdown.m_nNewDayLeft, 22 * 3600 + 1800);
    clock.SetLocal(2026, 10, 25, 0, 30, 0);
    countdown.Update(context);
    EXPECT_EQ(countdown.m_nNewDayLeft, 24 * 3600 + 1800);
    clock.SetLocal(2026, 10, 25, 23, 59, 59);
    countdown.Update(context);
    EXPECT_EQ(countdown.m_nNewDayLeft, 1);
}
