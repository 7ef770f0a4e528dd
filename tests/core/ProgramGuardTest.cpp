// The limits per program over a child's day, on the fake clock and a fake process list: only the
// program in front counts (two copies share its minutes, a minimised one counts nothing), the
// warning a minute before zero, the close at zero and the end 10 seconds later, a blocked program
// ended at its start however it is named or when it was started, the minutes kept across a restart
// and midnight, and homework counted outside the day's total, let through the lock at the total
// but not outside the period nor on a forbidden day.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/programs/ProgramGuard.h"
#include "core/rules/UsageState.h"
#include "core/store/DataStore.h"
#include "core/store/EventLog.h"
#include "core/store/HistoryFile.h"
#include "EngineDriver.h"
#include "support/FakeProcesses.h"
#include "support/FakeSystemActions.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"

namespace {

// 12 May 2026 is a Tuesday.
TIMESECS At(int nHour, int nMinute, int nSecond = 0, int nDay = 12) {
    return CClock::MakeLocal(2026, 5, nDay, nHour, nMinute, nSecond);
}

PROGRAM_RULE Rule(const std::string& strProgram, int nMinutes, std::int32_t nFlags = 0) {
    PROGRAM_RULE rule;
    rule.strUser = "kid";
    rule.strProgram = strProgram;
    rule.nMinutes.fill(nMinutes);
    rule.nFlags = nFlags;
    return rule;
}

CDayPrj FreeDay() {
    CDayPrj day;
    day.ClearLimits();
    day.m_bFree = 1;
    return day;
}

// The details of the program events logged, in order.
std::vector<std::string> Endings() {
    std::vector<std::string> details;
    for (const EVENT_ENTRY& entry : CEventLog::ReadAll())
        if (entry.strKind == CEventLog::kProgramEnded && entry.strAccount == "kid") details.push_back(entry.strDetail);
    return details;
}

class ProgramRules : public ::testing::Test {
protected:
    void SetUp() override { m_clock.Set(At(10, 0)); }
    void WriteWeek(const CDayPrj& day, int nForbiddenDay = -1) {
        CUserPrj week("kid");
        week.m_days.fill(day);
        if (nForbiddenDay >= 0) {
            CDayPrj& forbidden = week.m_days[static_cast<std::size_t>(nForbiddenDay)];
            forbidden.ClearLimits();
            forbidden.m_bForbid = 1;
        }
        CPrjStore store;
        store.Add(week);
        ASSERT_TRUE(store.Save());
    }
    void WriteRules(const std::vector<PROGRAM_RULE>& rules) {
        CProgramRuleStore store;
        store.ReplaceUser("kid", rules);
        ASSERT_TRUE(store.Save());
    }
    // The child logs in, as the status window does; the session ticks the guard before the day.
    void Login(bool bActive = false) { m_kid.Login("kid", bActive); }
    const CProgramGuard& Guard() { return m_kid.Session().Programs(); }
    int Used(const std::string& strProgram) { return Guard().UsedSecs(strProgram); }

    CTimeZone m_zone{"UTC0"};
    CTempFolder m_folder;
    CFakeClock m_clock;
    CFakeProcesses m_processes;
    CFakeSystemActions m_system;
    CEngineDriver m_kid{m_clock};
};

}  // namespace

TEST_F(ProgramRules, OnlyTheProgramInFrontCountsAndTwoCopiesShareItsMinutes) {
    WriteWeek(FreeDay());
    WriteRules({Rule("game.exe", 30), Rule("chess.exe", PROGRAM_RULE::NO_LIMIT)});
    const std::uint32_t nGame = m_processes.Start("game.exe");
    const std::uint32_t nCopy = m_processes.Start("GAME.EXE", "D:\\Copy\\GAME.EXE");
    const std::uint32_t nChess = m_processes.Start("chess.exe");
    const std::uint32_t nOther = m_processes.Start("notepad2.exe");
    Login();

    const struct {
        std::uint32_t nFront;  // 0: nothing in front (every window minimised)
        int nSeconds;
    } steps[] = {{nGame, 10}, {nCopy, 5}, {nOther, 20}, {0, 5}, {nChess, 7}, {nGame, 3}};
    for (const auto& step : steps) {
        m_processes.Front(step.nFront);
        m_kid.Ticks(step.nSeconds);
    }
    EXPECT_EQ(Used("game.exe"), 18);
    EXPECT_EQ(Used("chess.exe"), 7);
    EXPECT_EQ(m_kid.Context().UsedSecs(), 50) << "the day counts every second, whatever is in front";
    EXPECT_EQ(Guard().StatusLine(), "game.exe: 00:29:42 left today");
    m_processes.Front(nChess);
    m_kid.Tick();
    EXPECT_EQ(Guard().StatusLine(), "chess.exe: no limit today, 00:00:08 used");
    m_processes.Front(nOther);
    m_kid.Tick();
    EXPECT_EQ(Guard().StatusLine(), "");
    EXPECT_EQ(Guard().Notice(), PROGRAM_NOTICE{});
    EXPECT_TRUE(m_processes.m_calls.empty()) << "nothing is closed while minutes last";
}

TEST_F(ProgramRules, AMinuteBeforeZeroTheChildIsWarnedAtZeroAskedToCloseAndTenSecondsLaterEnded) {
    WriteWeek(FreeDay());
    WriteRules({Rule("game.exe", 1)});
    const std::uint32_t nGame = m_processes.Start("game.exe");
    const std::uint32_t nStubborn = m_processes.Start("game.exe", "C:\\Games\\Copy\\game.exe", true);
    Login();
    m_processes.Front(nGame);
    m_kid.Tick();
    EXPECT_EQ(Guard().Notice(), (PROGRAM_NOTICE{"game.exe will be closed after 59 seconds", 59}));
    m_kid.Ticks(58);
    EXPECT_EQ(Guard().Notice().strText, "game.exe will be closed after 1 second");
    EXPECT_TRUE(m_processes.m_calls.empty());

    m_kid.Tick();  // zero: every copy is asked to close
    EXPECT_EQ(m_processes.m_calls, (std::vector<std::string>{"close " + std::to_string(nGame),
                                                             "close " + std::to_string(nStubborn)}));
    EXPECT_FALSE(m_processes.IsRunning(nGame));
    EXPECT_EQ(Guard().Notice(), (PROGRAM_NOTICE{"game.exe was closed: its time today is up", 0}));
    EXPECT_EQ(Guard().StatusLine(), "game.exe was closed: its time today is up.");
    m_kid.Ticks(9);
    EXPECT_TRUE(m_processes.IsRunning(nStubborn)) << "ten seconds to close on its own";
    m_kid.Tick();
    EXPECT_FALSE(m_processes.IsRunning(nStubborn));
    EXPECT_EQ(m_processes.m_calls.back(), "end " + std::to_string(nStubborn));

    // Started again with no minutes left: ended as soon as its window comes to the front, not asked.
    const std::uint32_t nAgain = m_processes.Start("game.exe");
    m_processes.Front(nAgain);
    m_kid.Tick();
    EXPECT_FALSE(m_processes.IsRunning(nAgain));
    EXPECT_EQ(Guard().StatusLine(), "game.exe has no time left today.");
    m_kid.Ticks(10);
    EXPECT_EQ(Guard().StatusLine(), "") << "the reason stays in view for a while, not for ever";

    EXPECT_EQ(Endings(), (std::vector<std::string>{
                             "game.exe was asked to close: its 1 minute today are used up (1 minute used today)",
                             "game.exe was asked to close: its 1 minute today are used up (1 minute used today)",
                             "game.exe was ended: it did not close within 10 seconds (1 minute used today)",
                             "game.exe was ended at its start: its 1 minute today are used up (1 minute used today)"}));
    m_kid.Logout();
    CProgramUseStore use;
    ASSERT_TRUE(use.Load());
    EXPECT_EQ(*use.Find("kid", "game.exe", 20260512), (PROGRAM_USE{"kid", "game.exe", 20260512, 60, 3}));
}

// However and whenever a blocked program comes, it is ended at its first sight; what runs from
// Windows' folder or Quenby's own is never touched, whatever it is called.
TEST_F(ProgramRules, ABlockedProgramIsEndedAtItsStartHoweverItIsNamedAndWheneverItStarted) {
    WriteWeek(FreeDay());
    PROGRAM_RULE game = Rule("game.exe", 60);
    game.nMinutes[2] = 0;  // not on Tuesdays
    WriteRules({Rule("chess.exe", 60, PROGRAM_RULE::FLAG_BLOCKED), game});
    // Started while the parent's editor was open, before the child logged in.
    const std::uint32_t nEarly = m_processes.Start("chess.exe");
    Login();
    m_kid.Tick();
    EXPECT_FALSE(m_processes.IsRunning(nEarly));
    EXPECT_EQ(Guard().StatusLine(), "chess.exe is not allowed today.");

    const struct {
        const char* pszImage;
        const char* pszPath;
        const char* pszOriginal;
        bool bEnded;
    } cases[] = {
        {"game.exe", "C:\\Games\\game.exe", "", true},                   // no minutes on Tuesdays
        {"Chess.EXE", "C:\\Games\\Chess.EXE", "", true},                 // the case of its letters
        {"notes.exe", "C:\\Users\\kid\\notes.exe", "chess.exe", true},   // renamed: its version says chess
        {"explorer.exe", "C:\\Users\\kid\\explorer.exe", "game.exe", true},  // renamed as a part of Windows
        {"chess.exe", "C:\\Windows\\chess.exe", "", false},              // Windows' own folder
        {"chess.exe", "c:\\program files\\quenby\\chess.exe", "", false},  // Quenby's own folder
        {"notes.exe", "C:\\Users\\kid\\notes.exe", "", false},           // no rule
    };
    for (const auto& c : cases) {
        // A program's window comes to the front as it opens.
        const std::uint32_t nPid = m_processes.Start(c.pszImage, c.pszPath, false, c.pszOriginal);
        m_processes.Front(nPid);
        m_kid.Tick();
        EXPECT_EQ(m_processes.IsRunning(nPid), !c.bEnded) << c.pszPath;
        m_processes.Quit(nPid);
    }
    // One that opens its window behind the others is found as the window opens; one without a
    // window at the next look at every process, within 30 seconds.
    const std::uint32_t nBehind = m_processes.Start("chess.exe");
    m_kid.Tick();
    EXPECT_FALSE(m_processes.IsRunning(nBehind));
    const std::uint32_t nWindowless = m_processes.Start("chess.exe");
    m_processes.HasNoWindow(nWindowless);
    int nTicks = 0;
    while (m_processes.IsRunning(nWindowless) && nTicks < 60) m_kid.Tick(), ++nTicks;
    EXPECT_FALSE(m_processes.IsRunning(nWindowless));
    EXPECT_LE(nTicks, 30);
    const std::vector<std::string> endings = Endings();
    ASSERT_EQ(endings.size(), 7u);
    EXPECT_EQ(endings[0], "chess.exe was ended at its start: it is not allowed today (0 minutes used today)");
    EXPECT_EQ(endings[1], "game.exe was ended at its start: it is not allowed today (0 minutes used today)");
}

TEST_F(ProgramRules, MinutesSurviveARestartAndMidnightStartsAfreshWithTheDayInTheHistory) {
    WriteWeek(FreeDay());
    WriteRules({Rule("game.exe", 30)});
    m_clock.Set(At(23, 50));
    const std::uint32_t nGame = m_processes.Start("game.exe");
    m_processes.Front(nGame);
    Login();
    m_kid.Ticks(5 * 60);
    m_kid.Logout();
    // Deleting programs.use gives no minutes back: the copy restores it.
    m_folder.Remove(CProgramUseStore::kFileName);

    {  // Quenby started again a minute later.
        m_clock.Advance(60);
        CEngineDriver kid(m_clock);
        kid.Login("kid", true);
        const CProgramGuard& guard = kid.Session().Programs();
        EXPECT_EQ(guard.UsedSecs("game.exe"), 300);
        kid.Ticks(4 * 60 - 1);
        EXPECT_EQ(guard.UsedSecs("game.exe"), 539);
        kid.Tick();  // the last second of the day, counted for it; the new day counts from nothing
        EXPECT_EQ(guard.UsedSecs("game.exe"), 0);
        kid.Ticks(90);
        EXPECT_EQ(guard.UsedSecs("game.exe"), 90);
        EXPECT_EQ(guard.SecsLeft("game.exe"), 30 * 60 - 90);
        kid.Logout();
    }
    CHistoryFile history;
    ASSERT_TRUE(history.Load());
    // The day's own line and the program's line.
    ASSERT_EQ(history.Lines().size(), 2u);
    EXPECT_EQ(history.Lines()[0], (HISTORY_LINE{20260512, "kid", 9, 30, 0, 0, "game.exe"}));
    EXPECT_EQ(history.Lines()[1], (HISTORY_LINE{20260512, "kid", 9, 24 * 60, 0, 0, ""}));
    CProgramUseStore use;
    ASSERT_TRUE(use.Load());
    EXPECT_EQ(use.GetList().size(), 1u) << "the day in the history is forgotten";
    EXPECT_EQ(use.GetList().front().nDate, 20260513);
}

TEST_F(ProgramRules, HomeworkCountsOutsideTheDayAtTheTotalButNeverOutsideThePeriodOrOnAForbiddenDay) {
    CDayPrj day;
    day.ClearLimits();
    day.m_bTotalLimit = 1;
    day.m_nTotalHours = 0;
    day.m_nTotalMinutes = 10;
    day.m_bPeriod = 1;
    day.m_nStartHour = 8, day.m_nStartMinute = 0, day.m_nEndHour = 20, day.m_nEndMinute = 0;
    WriteWeek(day, 3);  // Wednesdays forbidden
    PROGRAM_RULE word = Rule("word.exe", PROGRAM_RULE::NO_LIMIT, PROGRAM_RULE::FLAG_OUTSIDE);
    word.strPath = "C:\\Program Files\\Office\\word.exe";
    WriteRules({word, Rule("game.exe", 60)});
    const std::uint32_t nWord = m_processes.Start("word.exe", word.strPath);
    const std::uint32_t nGame = m_processes.Start("game.exe");
    Login();

    m_processes.Front(nWord);
    m_kid.Ticks(120);
    EXPECT_EQ(m_kid.Context().UsedSecs(), 0) << "homework is not the day's use";
    EXPECT_EQ(Used("word.exe"), 120);
    EXPECT_EQ(Guard().StatusLine(), "word.exe: not counted in today's total");
    EXPECT_TRUE(m_kid.Session().LetThrough().empty()) << "nothing to let through while the computer is in use";

    m_processes.Front(nGame);
    EXPECT_EQ(m_kid.TicksUntil(STATE_TOTAL_USED_UP, 1000), 600);
    EXPECT_EQ(m_kid.Session().LetThrough(), std::vector<std::uint32_t>{nWord}) << "only the homework";
    // Closed behind the lock, it can be opened again from there, from where the parent picked it.
    EXPECT_EQ(m_kid.Session().HomeworkToOpen(), std::vector<PROGRAM_RULE>{word});
    ASSERT_FALSE(m_kid.Session().OpenHomework(word)) << "the fake system starts nothing";
    EXPECT_EQ(m_system.CallsStartingWith("start "),
              std::vector<std::string>{"start " + word.strPath + " | \"" + word.strPath + "\""});
    m_processes.Front(nWord);
    m_kid.Ticks(60);
    EXPECT_EQ(Used("word.exe"), 180) << "used behind the lock and counted as its own";
    EXPECT_EQ(m_kid.State(), STATE_TOTAL_USED_UP);

    // A game renamed word.exe, away from where the parent picked it: neither let through nor free.
    const std::uint32_t nFake = m_processes.Start("word.exe", "C:\\Users\\kid\\word.exe");
    m_kid.Tick();
    EXPECT_EQ(m_kid.Session().LetThrough(), std::vector<std::uint32_t>{nWord});

    m_clock.Set(At(20, 0, 1));  // the period is over
    m_kid.Tick();
    EXPECT_TRUE(m_kid.Session().LetThrough().empty());
    EXPECT_TRUE(m_kid.Session().HomeworkToOpen().empty());
    m_processes.Quit(nFake);

    // A Wednesday, which is forbidden, at a time the period would allow.
    m_clock.Set(At(9, 0, 0, 13));
    m_kid.Tick();
    m_kid.StartToUse();
    m_kid.Tick();
    EXPECT_EQ(m_kid.State(), STATE_FORBID_DAY);
    EXPECT_TRUE(m_kid.Session().LetThrough().empty());
    EXPECT_TRUE(m_processes.IsRunning(nWord)) << "locked away, never ended: it has no limit";
}

TEST_F(ProgramRules, AHomeworkPickedWithoutAPlaceCountsOutsideTheDayWhileTheComputerIsInUse) {
    WriteWeek(CDayPrj());
    WriteRules({Rule("word.exe", 20, PROGRAM_RULE::FLAG_OUTSIDE)});
    const std::uint32_t nWord = m_processes.Start("word.exe");
    Login();
    m_processes.Front(nWord);
    m_kid.Ticks(20 * 60);
    EXPECT_EQ(m_kid.Context().UsedSecs(), 0);
    EXPECT_FALSE(m_processes.IsRunning(nWord)) << "its own minutes still end it";
}
