// The limits per program with the real program and programs of the tests' own (game.exe and
// homework.exe, built with the tests): a parent gives the game 30 minutes a day in the editor; the
// game in front is counted, the child is warned a minute before the end and both copies are closed
// at zero; one that ignores the request is ended 10 seconds later; a blocked game is ended at its
// start, renamed or started before the login, and the child is told why; a homework program stays
// usable above the lock once the day's time is used up, while everything else is put away, and is
// opened again from there when it was closed. (To
// spare the scenarios half an hour, programs.use is left with most of the minutes used, as a
// parent would find it late in the day.)
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include <string>
#include <vector>

#include "core/rules/ExtraTime.h"
#include "core/seams/Clock.h"
#include "core/store/EventLog.h"
#include "core/store/ProgramRuleStore.h"
#include "core/store/ProgramUseStore.h"
#include "E2eSupport.h"
#include "ProgramUnderTest.h"

namespace {

constexpr UINT WM_COME_FORWARD = WM_APP + 1;  // the test program's "click on me"

// The test's own programs, copied into a folder of games apart from Quenby's (whose own folder
// is never touched by a rule), started by the test and all ended when it is done.
class CTestPrograms {
public:
    CTestPrograms() {
        char szTemp[MAX_PATH] = {}, szDriver[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, szTemp);
        m_strFolder = std::string(szTemp) + "quenby-games-" + std::to_string(::GetCurrentProcessId()) + "\\";
        ::CreateDirectoryA(m_strFolder.c_str(), nullptr);
        ::GetModuleFileNameA(nullptr, szDriver, MAX_PATH);
        std::string strBin(szDriver);
        strBin.erase(strBin.find_last_of('\\') + 1);
        for (const char* pszExe : {"game.exe", "homework.exe"})
            ::CopyFileA((strBin + pszExe).c_str(), (m_strFolder + pszExe).c_str(), FALSE);
    }
    ~CTestPrograms() {
        for (HANDLE hProcess : m_processes) {
            ::TerminateProcess(hProcess, 9);
            ::WaitForSingleObject(hProcess, 5000);
            ::CloseHandle(hProcess);
        }
        RemoveFolder(m_strFolder);
    }
    CTestPrograms(const CTestPrograms&) = delete;
    CTestPrograms& operator=(const CTestPrograms&) = delete;

    std::string PathOf(const std::string& strExe) const { return m_strFolder + strExe; }
    // A renamed copy, as a child would make one.
    void CopyAs(const std::string& strFrom, const std::string& strTo) const {
        ::CopyFileA((m_strFolder + strFrom).c_str(), (m_strFolder + strTo).c_str(), FALSE);
    }
    // Starts a program of the folder; its process id (0 on failure).
    DWORD Start(const std::string& strExe, const std::string& strArguments = std::string()) {
        std::string strCommandLine = "\"" + m_strFolder + strExe + "\" " + strArguments;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessA(nullptr, strCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, m_strFolder.c_str(),
                              &si, &pi))
            return 0;
        ::CloseHandle(pi.hThread);
        m_processes.push_back(pi.hProcess);
        return pi.dwProcessId;
    }
    // The process's window, once it has one (nullptr after the time).
    static HWND WindowOf(DWORD nPid, DWORD nMilliseconds = 10000) {
        struct QUERY {
            DWORD nPid;
            HWND hFound;
        } query{nPid, nullptr};
        WaitFor([&query] {
            ::EnumWindows([](HWND hWnd, LPARAM lParam) -> BOOL {
                auto* pQuery = reinterpret_cast<QUERY*>(lParam);
                DWORD nOwner = 0;
                ::GetWindowThreadProcessId(hWnd, &nOwner);
                char szClass[64] = {};
                ::GetClassNameA(hWnd, szClass, sizeof szClass);
                if (nOwner != pQuery->nPid || std::string(szClass) != "QuenbyTestProgram") return TRUE;
                pQuery->hFound = hWnd;
                return FALSE;
            }, reinterpret_cast<LPARAM>(&query));
            return query.hFound != nullptr;
        }, nMilliseconds);
        return query.hFound;
    }
    // The process ended within the time; how long it took is put in pnTaken.
    static bool WaitForEnd(DWORD nPid, DWORD nMilliseconds, DWORD* pnTaken = nullptr) {
        HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, nPid);
        if (!hProcess) return true;
        const DWORD tStart = ::GetTickCount();
        const bool bEnded = ::WaitForSingleObject(hProcess, nMilliseconds) == WAIT_OBJECT_0;
        if (pnTaken) *pnTaken = ::GetTickCount() - tStart;
        ::CloseHandle(hProcess);
        return bEnded;
    }
    static bool IsRunning(DWORD nPid) { return !WaitForEnd(nPid, 0); }

private:
    std::string m_strFolder;
    std::vector<HANDLE> m_processes;
};

PROGRAM_RULE Rule(const std::string& strProgram, int nMinutes, std::int32_t nFlags = 0) {
    PROGRAM_RULE rule;
    rule.strUser = "kid";
    rule.strProgram = strProgram;
    rule.nMinutes.fill(nMinutes);
    rule.nFlags = nFlags;
    return rule;
}

// Writes the rules and the seconds of the program used today into the program's folder.
void WriteRulesAndUse(const CProgramUnderTest& program, const std::vector<PROGRAM_RULE>& rules,
                      const std::string& strUsed = std::string(), int nUsedSecs = 0) {
    CDataFolder::Use(program.Folder());
    if (!rules.empty()) {
        CProgramRuleStore store;
        store.ReplaceUser("kid", rules);
        store.Save();
    }
    if (!strUsed.empty()) {
        CProgramUseStore use;
        use.ForDate("kid", strUsed, DateKey(CClock::Now())).nUsedSecs = nUsedSecs;
        use.Save();
    }
    CDataFolder::Use(std::string());
}

template <typename T>
T ReadStore(const CProgramUnderTest& program) {
    CDataFolder::Use(program.Folder());
    T store;
    store.Load();
    CDataFolder::Use(std::string());
    return store;
}

// The details of the program events the log holds for kid, in order.
std::vector<std::string> ProgramEndings(const CProgramUnderTest& program) {
    CDataFolder::Use(program.Folder());
    std::vector<std::string> details;
    for (const EVENT_ENTRY& entry : CEventLog::ReadAll())
        if (entry.strKind == CEventLog::kProgramEnded && entry.strAccount == "kid") details.push_back(entry.strDetail);
    CDataFolder::Use(std::string());
    return details;
}

std::string ProgramLine(HWND hStatus) { return CProgramUnderTest::ItemText(hStatus, IDC_STATUS_PROGRAM_LINE); }

bool LineSays(HWND hStatus, const std::string& strStart, DWORD nMilliseconds) {
    return WaitFor([&] { return ProgramLine(hStatus).rfind(strStart, 0) == 0; }, nMilliseconds);
}

// Brings the test program's window to the front as a click would, until it is there.
bool BringForward(HWND hWnd) {
    return WaitFor([hWnd] {
        if (::GetForegroundWindow() == hWnd) return true;
        ::PostMessageA(hWnd, WM_COME_FORWARD, 0, 0);
        return false;
    }, 10000);
}

// The window's middle is this window (or a window of its own): a click there reaches it.
bool TakesClicks(HWND hWnd) {
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    const POINT pt{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    return ::GetAncestor(::WindowFromPoint(pt), GA_ROOT) == hWnd;
}

}  // namespace

TEST(Programs, AParentGivesTheGameThirtyMinutesADayItIsCountedWarnedAndClosedAtZero) {
    CProgramUnderTest program;
    CTestPrograms games;
    PrepareFamily(program, FreeDay());
    // Late in the day: 28 minutes 50 seconds of the game were used already.
    WriteRulesAndUse(program, {}, "game.exe", 30 * 60 - 70);
    const DWORD nPid = program.Start();

    // The parent: the Programs window of the editor, "game.exe", 30 minutes every day, Save.
    HWND hEditor = LogIn(program, nPid, "Administrator");
    ASSERT_NE(hEditor, nullptr);
    CProgramUnderTest::Click(hEditor, IDC_ARR_PROGRAMS);
    HWND hPrograms = program.WaitForWindow(IDC_PROGRAMS_LIST, 10000, nPid);
    ASSERT_NE(hPrograms, nullptr) << "no Programs window";
    SetText(hPrograms, IDC_PROGRAMS_NAME, "game.exe");
    CProgramUnderTest::Click(hPrograms, IDC_PROGRAMS_ADD);
    ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(::GetDlgItem(hPrograms, IDC_PROGRAMS_LIST), LVM_GETITEMCOUNT, 0, 0) == 1; },
                        5000));
    HWND hEveryDay = ::GetDlgItem(hPrograms, IDC_PROGRAMS_EVERY_DAY);
    const LRESULT nThirty = ::SendMessageA(hEveryDay, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>("30 min"));
    ASSERT_GE(nThirty, 0);
    ::SendMessageA(hEveryDay, CB_SETCURSEL, static_cast<WPARAM>(nThirty), 0);
    ::PostMessageA(hPrograms, WM_COMMAND, MAKEWPARAM(IDC_PROGRAMS_EVERY_DAY, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hEveryDay));
    CProgramUnderTest::Pause(1500);
    program.Screenshot("programs-window");
    CProgramUnderTest::Click(hPrograms, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hPrograms); }, 10000)) << "Save did not close the window";
    EXPECT_EQ(ReadStore<CProgramRuleStore>(program).ForUser("kid"), std::vector<PROGRAM_RULE>{Rule("game.exe", 30)});
    EXPECT_EQ(CProgramUnderTest::ItemText(hEditor, IDC_ARR_PREVIEW_PROGRAMS), "Programs: game.exe 30 min.");
    CProgramUnderTest::Click(hEditor, IDC_ARR_SWITCH_USER);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hEditor); }, 10000));
    CProgramUnderTest::Pause(1500);  // the lock screen shown again with the accounts

    // The child plays, with two copies of the game open.
    HWND hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    const DWORD nGame = games.Start("game.exe", "/at:200,150");
    const DWORD nCopy = games.Start("game.exe", "/at:700,150");
    HWND hGame = CTestPrograms::WindowOf(nGame);
    ASSERT_NE(hGame, nullptr);
    ASSERT_NE(CTestPrograms::WindowOf(nCopy), nullptr);
    ASSERT_TRUE(BringForward(hGame));
    ASSERT_TRUE(LineSays(hStatus, "game.exe: 00:01:0", 10000)) << ProgramLine(hStatus);
    ASSERT_TRUE(LineSays(hStatus, "game.exe: 00:00:5", 20000)) << "not counted while in front: " << ProgramLine(hStatus);
    ASSERT_NE(WaitForNotice(nPid, 10000), nullptr) << "no notice in the last minute";
    program.Screenshot("program-notice");

    // At zero both copies are asked to close, and close.
    EXPECT_TRUE(CTestPrograms::WaitForEnd(nGame, 90000)) << "the game in front was not closed";
    EXPECT_TRUE(CTestPrograms::WaitForEnd(nCopy, 10000)) << "the copy behind it was not closed";
    EXPECT_TRUE(LineSays(hStatus, "game.exe was closed: its time today is up.", 5000)) << ProgramLine(hStatus);
    program.Screenshot("program-closed");

    // Started again: ended at once, and the child is told why.
    const DWORD nAgain = games.Start("game.exe");
    DWORD nTaken = 0;
    EXPECT_TRUE(CTestPrograms::WaitForEnd(nAgain, 10000, &nTaken)) << "a game without minutes left runs";
    std::printf("a game without minutes left was ended %lu ms after its start\n", static_cast<unsigned long>(nTaken));
    EXPECT_TRUE(LineSays(hStatus, "game.exe has no time left today.", 5000)) << ProgramLine(hStatus);

    CProgramUnderTest::Click(hStatus, IDC_STATUS_SWITCH);
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid), nullptr);
    const std::vector<std::string> endings = ProgramEndings(program);
    ASSERT_EQ(endings.size(), 3u);
    EXPECT_EQ(endings[0], "game.exe was asked to close: its 30 minutes today are used up (30 minutes used today)");
    EXPECT_EQ(endings[2], "game.exe was ended at its start: its 30 minutes today are used up (30 minutes used today)");
    const CProgramUseStore use = ReadStore<CProgramUseStore>(program);
    const PROGRAM_USE* pUse = use.Find("kid", "game.exe", DateKey(CClock::Now()));
    ASSERT_NE(pUse, nullptr);
    // Ticks come a second apart, give or take: the last one may carry two.
    EXPECT_GE(pUse->nUsedSecs, 30 * 60);
    EXPECT_LE(pUse->nUsedSecs, 30 * 60 + 2);
    EXPECT_EQ(pUse->nEndings, 3);
}

TEST(Programs, AGameThatIgnoresTheRequestToCloseIsEndedTenSecondsLater) {
    CProgramUnderTest program;
    CTestPrograms games;
    PrepareFamily(program, FreeDay());
    WriteRulesAndUse(program, {Rule("game.exe", 1)}, "game.exe", 45);
    const DWORD nPid = program.Start();
    HWND hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    const DWORD nGame = games.Start("game.exe", "/ignore-close");
    HWND hGame = CTestPrograms::WindowOf(nGame);
    ASSERT_NE(hGame, nullptr);
    ASSERT_TRUE(BringForward(hGame));

    ASSERT_TRUE(WaitFor([&] { return CProgramUnderTest::TextOf(hGame).find("(asked to close)") != std::string::npos; },
                        60000))
        << "not asked to close at zero";
    const DWORD tAsked = ::GetTickCount();
    CProgramUnderTest::Pause(5000);
    EXPECT_TRUE(CTestPrograms::IsRunning(nGame)) << "ended before its 10 seconds to close";
    EXPECT_TRUE(CTestPrograms::WaitForEnd(nGame, 30000)) << "still running long after it was asked to close";
    std::printf("the game that ignored the request was ended %lu ms after it\n",
                static_cast<unsigned long>(::GetTickCount() - tAsked));
    std::vector<std::string> endings;
    EXPECT_TRUE(WaitFor([&] { return (endings = ProgramEndings(program)).size() == 2; }, 5000)) << endings.size();
    ASSERT_EQ(endings.size(), 2u);
    EXPECT_EQ(endings[1], "game.exe was ended: it did not close within 10 seconds (1 minute used today)");
}

TEST(Programs, ABlockedGameIsEndedAtItsStartRenamedOrStartedBeforeTheLoginAndTheChildSeesWhy) {
    CProgramUnderTest program;
    CTestPrograms games;
    PrepareFamily(program, FreeDay());
    WriteRulesAndUse(program, {Rule("game.exe", 60, PROGRAM_RULE::FLAG_BLOCKED)});
    const DWORD nPid = program.Start();
    // Started while nobody was logged in (the lock put it away), before the child's login.
    const DWORD nEarly = games.Start("game.exe");
    ASSERT_NE(CTestPrograms::WindowOf(nEarly), nullptr);
    HWND hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    EXPECT_TRUE(CTestPrograms::WaitForEnd(nEarly, 10000)) << "the game started before the login runs on";
    EXPECT_TRUE(LineSays(hStatus, "game.exe is not allowed today.", 5000)) << ProgramLine(hStatus);

    // Started by the child, under its name, renamed, and minimised behind the other windows.
    games.CopyAs("game.exe", "notes.exe");
    const struct {
        const char* pszExe;
        const char* pszArguments;
    } starts[] = {{"game.exe", ""}, {"notes.exe", ""}, {"game.exe", "/behind"}};
    for (const auto& start : starts) {
        CProgramUnderTest::Pause(9000);  // the reason of the last ending is gone from the line
        const DWORD nGame = games.Start(start.pszExe, start.pszArguments);
        ASSERT_NE(nGame, 0u);
        DWORD nTaken = 0;
        EXPECT_TRUE(CTestPrograms::WaitForEnd(nGame, 20000, &nTaken))
            << start.pszExe << start.pszArguments << " runs although it is blocked";
        std::printf("%s %s, blocked, was ended %lu ms after its start\n", start.pszExe, start.pszArguments,
                    static_cast<unsigned long>(nTaken));
        EXPECT_TRUE(LineSays(hStatus, "game.exe is not allowed today.", 5000)) << start.pszExe << ": " << ProgramLine(hStatus);
    }
    program.Screenshot("program-blocked");
    std::vector<std::string> endings;
    WaitFor([&] { return (endings = ProgramEndings(program)).size() >= 4; }, 5000);
    EXPECT_EQ(endings, std::vector<std::string>(4, "game.exe was ended at its start: it is not allowed today (0 minutes used today)"));
}

TEST(Programs, AHomeworkProgramStaysUsableWhileTheComputerIsLockedForEverythingElse) {
    CProgramUnderTest program;
    CTestPrograms games;
    CDayPrj day;  // one minute a day, nothing else
    day.ClearLimits();
    day.m_bTotalLimit = 1;
    day.m_nTotalHours = 0;
    day.m_nTotalMinutes = 1;
    PrepareFamily(program, day);
    // Picked from the running programs: the rule knows where it lies.
    PROGRAM_RULE homework = Rule("homework.exe", PROGRAM_RULE::NO_LIMIT, PROGRAM_RULE::FLAG_OUTSIDE);
    homework.strPath = games.PathOf("homework.exe");
    WriteRulesAndUse(program, {homework});
    // 45 of the day's 60 seconds were used earlier today.
    CDataFolder::Use(program.Folder());
    {
        CUsageStore usage;
        USAGE_RECORD record;
        record.strUser = "kid";
        record.nUsedSecs = 45;
        record.tLastSave = CClock::Now() - 5;
        usage.Add(record);
        ASSERT_TRUE(usage.Save());
    }
    CDataFolder::Use(std::string());
    const DWORD nPid = program.Start();
    HWND hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    const DWORD nHomework = games.Start("homework.exe", "/at:150,120");
    const DWORD nGame = games.Start("game.exe", "/at:760,400");  // another program, without a rule
    HWND hHomework = CTestPrograms::WindowOf(nHomework);
    HWND hGame = CTestPrograms::WindowOf(nGame);
    ASSERT_TRUE(hHomework && hGame);

    // Homework in front: the day's last 15 seconds do not move.
    ASSERT_TRUE(BringForward(hHomework));
    ASSERT_TRUE(LineSays(hStatus, "homework.exe: not counted in today's total", 30000)) << ProgramLine(hStatus);
    const int nUsedBefore = UsedSecondsShown(hStatus);
    CProgramUnderTest::Pause(20000);
    EXPECT_LE(UsedSecondsShown(hStatus), nUsedBefore + 1) << "homework was counted as the day's use";
    HWND hCurtain = FindCurtain(nPid);
    EXPECT_FALSE(hCurtain && IsCurtainUp(hCurtain)) << "locked while only homework was used";

    // The other program in front uses the rest: the lock comes, for everything but homework.
    ASSERT_TRUE(BringForward(hGame));
    ASSERT_TRUE(WaitFor([&] { HWND h = FindCurtain(nPid); return h && IsCurtainUp(h); }, 40000)) << "no lock at the total";
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(hGame); }, 10000)) << "the other program is not put away";
    EXPECT_TRUE(::IsWindowVisible(hHomework)) << "homework was put away";
    EXPECT_TRUE(BringForward(hHomework)) << "homework cannot come in front";
    CProgramUnderTest::Pause(6000);  // the lock's first seconds, and some
    EXPECT_EQ(::GetForegroundWindow(), hHomework) << "the lock took homework out of the child's hands";
    EXPECT_TRUE(TakesClicks(hHomework)) << "the curtain covers homework";
    EXPECT_TRUE(CTestPrograms::IsRunning(nHomework));
    EXPECT_FALSE(::IsWindowVisible(hGame)) << "the other program came back";
    EXPECT_TRUE(LineSays(hStatus, "homework.exe: not counted in today's total", 5000)) << ProgramLine(hStatus);
    program.Screenshot("homework-above-the-lock");

    // Closed behind the lock, homework is opened again from the status window.
    ::PostMessageA(hHomework, WM_CLOSE, 0, 0);
    ASSERT_TRUE(CTestPrograms::WaitForEnd(nHomework, 10000));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(::GetDlgItem(hStatus, IDC_STATUS_OPEN_HOMEWORK)) != FALSE; }, 5000))
        << "no \"Open homework\" behind the lock";
    CProgramUnderTest::Click(hStatus, IDC_STATUS_OPEN_HOMEWORK);
    HWND hAgain = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        hAgain = ::FindWindowA("QuenbyTestProgram", "Essay - Homework");
        return hAgain && ::IsWindowVisible(hAgain);
    }, 15000)) << "homework was not opened";
    DWORD nAgain = 0;
    ::GetWindowThreadProcessId(hAgain, &nAgain);
    struct CEndAtExit {
        DWORD nPid;
        ~CEndAtExit() {
            if (HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE, FALSE, nPid)) {
                ::TerminateProcess(hProcess, 9);
                ::CloseHandle(hProcess);
            }
        }
    } endAgain{nAgain};
    EXPECT_TRUE(BringForward(hAgain));
    EXPECT_TRUE(WaitFor([&] { return TakesClicks(hAgain); }, 10000)) << "the homework opened behind the lock is covered";
    EXPECT_FALSE(::IsWindowVisible(hGame));
    program.Screenshot("homework-opened-behind-the-lock");

    // With the child's login, homework goes too.
    CProgramUnderTest::Click(hStatus, IDC_STATUS_SWITCH);
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid), nullptr);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(hAgain); }, 10000)) << "homework stays out at the lock screen";
}
