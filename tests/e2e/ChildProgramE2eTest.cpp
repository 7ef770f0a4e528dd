// What a program of the child's, running in the same Windows account, sends or writes against the
// real program, each with the safe outcome: the first-run and show-lock messages, the tray's Quit
// and OK posted to the curtain, a forged "ended on purpose" state, a decoy named Quenby.exe that
// holds the instance mutex and forges the heartbeat, the desktop window in front at every restart,
// and a time zone that cannot be set back.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "AttackSupport.h"
#include "companion/CompanionNames.h"
#include "core/store/HiddenWindowList.h"

namespace {

// The controller's own messages and commands, by number, as a child's program would post them.
constexpr UINT kShowLockMessage = WM_USER + 1999;
constexpr UINT kFirstRunMessage = WM_USER + 2001;
constexpr WORD kTrayQuit = 32776;

// A child's session with the companion running: the program's id; the status window in phStatus.
DWORD StartSession(CProgramUnderTest& program, HWND* phStatus, DWORD* pnCompanion) {
    PrepareFamily(program, FreeDay());
    const DWORD nPid = program.Start();
    *phStatus = LogIn(program, nPid, "kid");
    DWORD nWaited = 0;
    *pnCompanion = WaitForNewProcess(program, "Tessaly.exe", 0, 10000, &nWaited);
    return nPid;
}

// Ends the companion first (so it brings nothing back), then the program.
void EndBoth(CProgramUnderTest& program) {
    for (DWORD nCompanion : program.FindProcesses("Tessaly.exe")) program.Kill(nCompanion);
    for (DWORD nProgram : program.FindProcesses("Quenby.exe")) program.Kill(nProgram);
}

bool EventsSay(const CProgramUnderTest& program, const std::string& strText) {
    const BYTES log = program.ReadFile("events.log");
    return std::string(log.begin(), log.end()).find(strText) != std::string::npos;
}

// Top-level windows of the process with the control, hidden ones too.
int WindowsWith(DWORD nPid, int nControlId) {
    struct QUERY {
        DWORD nPid;
        int nControlId;
        int nFound;
    } query{nPid, nControlId, 0};
    ::EnumWindows(
        [](HWND hWnd, LPARAM lParam) {
            auto* pQuery = reinterpret_cast<QUERY*>(lParam);
            DWORD nOwner = 0;
            ::GetWindowThreadProcessId(hWnd, &nOwner);
            if (nOwner == pQuery->nPid && ::GetDlgItem(hWnd, pQuery->nControlId)) ++pQuery->nFound;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.nFound;
}

// A process named Quenby.exe that is not Quenby: a copy of this driver in a folder of its own,
// started suspended, so that it runs and does nothing.
class CDecoy {
public:
    explicit CDecoy(const CProgramUnderTest& program) : m_strFolder(program.Folder() + "decoy\\") {
        char szDriver[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, szDriver, MAX_PATH);
        ::CreateDirectoryA(m_strFolder.c_str(), nullptr);
        const std::string strPath = m_strFolder + "Quenby.exe";
        ::CopyFileA(szDriver, strPath.c_str(), FALSE);
        std::string strCommand(1, '"');
        strCommand.append(strPath).append("\"");
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (::CreateProcessA(strPath.c_str(), strCommand.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                             nullptr, &si, &m_pi))
            ::CloseHandle(m_pi.hThread);
    }
    ~CDecoy() {
        if (m_pi.hProcess) {
            ::TerminateProcess(m_pi.hProcess, 0);
            ::WaitForSingleObject(m_pi.hProcess, 5000);
            ::CloseHandle(m_pi.hProcess);
        }
        ::DeleteFileA((m_strFolder + "Quenby.exe").c_str());
        ::RemoveDirectoryA(m_strFolder.c_str());
    }
    CDecoy(const CDecoy&) = delete;
    CDecoy& operator=(const CDecoy&) = delete;
    DWORD Pid() const { return m_pi.dwProcessId; }

private:
    std::string m_strFolder;
    PROCESS_INFORMATION m_pi{};
};

// True when winnodes.tmp records the window.
bool Recorded(const CProgramUnderTest& program, HWND hWnd) {
    CDataFolder::Use(program.Folder());
    CHiddenWindowList list;
    list.Load();
    const bool bRecorded = list.Exists(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hWnd)));
    CDataFolder::Use(std::string());
    return bRecorded;
}

// The zone of that many minutes east of UTC nearest to a time of day there, in whole minutes.
int ZoneWhereItIs(int nMinuteOfDay) {
    const int nUtcMinute = static_cast<int>(WallSeconds() % 86400 / 60);
    int nEast = ((nMinuteOfDay - nUtcMinute) % 1440 + 1440) % 1440;
    return nEast > 720 ? nEast - 1440 : nEast;
}

}  // namespace

TEST(Attack, TheFirstRunMessageOfAnotherProgramOpensNoPasswordDialog) {
    CProgramUnderTest program;
    PrepareFamily(program, FreeDay());
    const DWORD nPid = program.Start();
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid), nullptr);
    const BYTES parent = program.ReadFile("parent.nam");
    HWND hCurtain = ControllerOf(nPid);
    ASSERT_NE(hCurtain, nullptr);
    // At the lock screen, and while the child is logged in.
    ::PostMessageA(hCurtain, kFirstRunMessage, 0, 0);
    EXPECT_EQ(program.WaitForWindow(IDC_FIRST_PASSWORD, 2000, nPid), nullptr) << "at the lock screen";
    ASSERT_NE(LogIn(program, nPid, "kid"), nullptr);
    ::PostMessageA(hCurtain, kFirstRunMessage, 0, 0);
    EXPECT_EQ(program.WaitForWindow(IDC_FIRST_PASSWORD, 2000, nPid), nullptr) << "while the child is logged in";
    EXPECT_EQ(program.ReadFile("parent.nam"), parent) << "the Administrator's record is as it was";
}

TEST(Attack, QuitOrOkPostedDuringAChildsSessionAndAForgedEndStateStopNeitherProcess) {
    CProgramUnderTest program;
    HWND hStatus = nullptr;
    DWORD nCompanion = 0;
    const DWORD nPid = StartSession(program, &hStatus, &nCompanion);
    ASSERT_NE(hStatus, nullptr);
    ASSERT_NE(nCompanion, 0u);
    HWND hCurtain = ControllerOf(nPid);
    ASSERT_NE(hCurtain, nullptr);
    ASSERT_TRUE(ForgeStoredState(program, 3)) << "\"closed by the Administrator\"";
    ::PostMessageA(hCurtain, WM_COMMAND, MAKEWPARAM(kTrayQuit, 0), 0);
    ::PostMessageA(hCurtain, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ::PostMessageA(hCurtain, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    CProgramUnderTest::Pause(2000);
    EXPECT_TRUE(program.IsRunning(nPid)) << "the program ended";
    EXPECT_TRUE(program.IsRunning(nCompanion)) << "the companion ended";

    // Killed now, with the forged state still in the file: the companion brings it back.
    ASSERT_TRUE(ForgeStoredState(program, 3));
    const DWORD tKilled = ::GetTickCount();
    program.Kill(nPid);
    DWORD nWaited = 0;
    const DWORD nAgain = WaitForNewProcess(program, "Quenby.exe", nPid, 10000, &nWaited);
    ASSERT_NE(nAgain, 0u) << "a state in a file stood the companion down";
    EXPECT_GE(WaitLocked(program, nAgain, tKilled, 10000), 0);
}

TEST(Attack, TheShowLockMessageOfAnotherProgramNeitherBlanksTheChildNorHidesAKill) {
    CProgramUnderTest program;
    HWND hStatus = nullptr;
    DWORD nCompanion = 0;
    const DWORD nPid = StartSession(program, &hStatus, &nCompanion);
    ASSERT_NE(hStatus, nullptr);
    CProgramUnderTest::Pause(1500);
    ::PostMessageA(ControllerOf(nPid), kShowLockMessage, 0, 0);
    CProgramUnderTest::Pause(2000);
    EXPECT_EQ(BeatUser(program), "kid") << "the heartbeat still names the child";
    EXPECT_EQ(WindowsWith(nPid, IDC_LOCK_LOGIN), 1) << "no second lock screen";
    const int nShown = UsedSecondsShown(hStatus);
    ASSERT_GE(nShown, 2);
    EndBoth(program);
    CProgramUnderTest::Pause(3000);
    const DWORD nAgain = program.Start();
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nAgain), nullptr);
    const int nStored = StoredUsed(program);
    std::printf("show-lock message: %d s shown, %d s stored after the next start\n", nShown, nStored);
    EXPECT_GE(nStored, nShown + 3) << "the time without the program counts as the child's use";
}

TEST(Attack, ADecoyNamedQuenbyWithTheMutexAndAForgedHeartbeatStopsNeitherTheStartNorTheCompanion) {
    CProgramUnderTest program;
    PrepareFamily(program, FreeDay());
    // Quenby ran here before: the companion's file names its path.
    DWORD nPid = program.Start();
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid), nullptr);
    EndBoth(program);
    CDecoy decoy(program);
    ASSERT_NE(decoy.Pid(), 0u);
    HANDLE hMutex = ::CreateMutexA(nullptr, TRUE, kInstanceMutexName);
    ASSERT_NE(hMutex, nullptr);
    ASSERT_TRUE(ForgeBeat(program, decoy.Pid(), WallSeconds()));
    nPid = program.Start();
    EXPECT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid), nullptr) << "the decoy kept Quenby from starting";
    DWORD nWaited = 0;
    ASSERT_NE(WaitForNewProcess(program, "Tessaly.exe", 0, 10000, &nWaited), 0u);

    // The decoy keeps naming itself in the heartbeat, faster than the program beats; then the
    // program is killed. The companion watched the program all along and brings it back.
    for (int n = 0; n < 30; ++n) {
        ForgeBeat(program, decoy.Pid(), WallSeconds());
        ::Sleep(100);
    }
    const DWORD tKilled = ::GetTickCount();
    program.Kill(nPid);
    const DWORD nAgain = WaitForNewProcess(program, "Quenby.exe", nPid, 10000, &nWaited);
    ASSERT_NE(nAgain, 0u) << "the companion followed the decoy";
    EXPECT_GE(WaitLocked(program, nAgain, tKilled, 10000), 0);
    EXPECT_TRUE(EventsSay(program, "mutex held"));
    ::ReleaseMutex(hMutex);
    ::CloseHandle(hMutex);
}

TEST(Attack, TheDesktopWindowIsNeverPutAwayAndEveryRestartReachesTheLockScreen) {
    CProgramUnderTest program;
    PrepareFamily(program, FreeDay());
    DWORD nPid = program.Start();
    ASSERT_GE(WaitLocked(program, nPid, ::GetTickCount(), 10000), 0);
    DWORD nWaited = 0;
    ASSERT_NE(WaitForNewProcess(program, "Tessaly.exe", 0, 10000, &nWaited), 0u);
    const HWND hDesktop = ::GetDesktopWindow();
    RECT rcDesktop{};
    ::GetWindowRect(hDesktop, &rcDesktop);
    // Each kill leaves the desktop window in front for the next start to find.
    for (int nRound = 0; nRound < 3; ++nRound) {
        SCOPED_TRACE("restart " + std::to_string(nRound + 1));
        const DWORD tKilled = ::GetTickCount();
        program.Kill(nPid);
        const DWORD nAgain = WaitForNewProcess(program, "Quenby.exe", nPid, 10000, &nWaited);
        ASSERT_NE(nAgain, 0u);
        nPid = nAgain;
        const long nLocked = WaitLocked(program, nPid, tKilled, 15000);
        std::printf("desktop window: restart %d back locked after %ld ms\n", nRound + 1, nLocked);
        ASSERT_GE(nLocked, 0) << "the restart did not reach the lock screen";
        RECT rc{};
        ::GetWindowRect(hDesktop, &rc);
        EXPECT_FALSE(::IsIconic(hDesktop));
        EXPECT_TRUE(rc.left == rcDesktop.left && rc.top == rcDesktop.top && rc.right == rcDesktop.right &&
                    rc.bottom == rcDesktop.bottom)
            << "the desktop window was moved";
        EXPECT_FALSE(Recorded(program, hDesktop)) << "winnodes.tmp names the desktop window";
    }
}

TEST(Attack, AZoneThatCannotBeSetBackMovesNoMidnight) {
    CProgramUnderTest program;
    CDayPrj day = FreeDay();
    day.m_bFree = 0;
    day.m_bTotalLimit = 1;
    day.m_nTotalHours = 0;
    day.m_nTotalMinutes = 1;
    PrepareFamily(program, day);
    // The child's own zone at noon, far from its midnight.
    const std::string strHome = UnixZone(ZoneWhereItIs(12 * 60));

    // The day's minute is used up at home, then both processes are ended.
    DWORD nPid = StartInZone(program, strHome);
    ASSERT_NE(nPid, 0u);
    HWND hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    ASSERT_TRUE(WaitFor([&] { HWND h = FindCurtain(nPid); return h && IsCurtainUp(h) && UsedSecondsShown(hStatus) >= 60; },
                        120000))
        << "the day's minute was not used up";
    CProgramUnderTest::Pause(1500);
    EndBoth(program);
    const int nUsed = StoredUsed(program);
    ASSERT_GE(nUsed, 60);

    // Started in a zone whose midnight is one to two minutes away, which Wine cannot set back.
    const int nAway = ZoneWhereItIs(23 * 60 + 58);
    const long long tMidnight = (WallSeconds() + nAway * 60LL) / 86400 * 86400 + 86400 - nAway * 60LL;
    nPid = StartInZone(program, UnixZone(nAway));
    ASSERT_NE(nPid, 0u);
    hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    ASSERT_TRUE(WaitFor([&] { return WallSeconds() > tMidnight + 3; }, 180000)) << "that zone's midnight";
    CProgramUnderTest::Click(hStatus, IDC_STATUS_START);
    CProgramUnderTest::Pause(2000);
    program.Screenshot("attack-zone-after-its-midnight");
    EXPECT_TRUE(EventsSay(program, "zone not set back")) << "the refused zone is logged";
    EXPECT_GE(UsedSecondsShown(hStatus), 60) << "its midnight gave a fresh day";
    HWND hCurtain = FindCurtain(nPid);
    EXPECT_TRUE(hCurtain && IsCurtainUp(hCurtain)) << "Start to use let the child in";
    // The child switches user, which saves the day as that run judges it.
    CProgramUnderTest::Click(hStatus, IDC_STATUS_SWITCH);
    EXPECT_TRUE(WaitFor([&] { return program.WaitForWindow(IDC_LOCK_LOGIN, 0, nPid) != nullptr; }, 10000));
    EndBoth(program);

    // At home again, the day's use is whole.
    nPid = StartInZone(program, strHome);
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid), nullptr);
    const int nStored = StoredUsed(program);
    std::printf("zone: %d s used at home, %d s stored after the other zone's midnight\n", nUsed, nStored);
    EXPECT_GE(nStored, nUsed) << "the day's use was replaced by a day the home zone has not reached";
}
