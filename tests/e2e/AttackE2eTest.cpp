// What a child would try against the program and its companion, each with the safe outcome:
// "End process tree" on the program, ending both processes at once, suspending the program, and
// holding the program's instance mutex.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "AttackSupport.h"
#include "companion/CompanionNames.h"

namespace {

// A child's session with the companion running: the program's id; the status window in phStatus.
DWORD StartSession(CProgramUnderTest& program, HWND* phStatus, DWORD* pnCompanion) {
    PrepareFamily(program, FreeDay());
    const DWORD nPid = program.Start();
    *phStatus = LogIn(program, nPid, "kid");
    DWORD nWaited = 0;
    *pnCompanion = WaitForNewProcess(program, "Tessaly.exe", 0, 10000, &nWaited);
    return nPid;
}

}  // namespace

TEST(Attack, EndProcessTreeOnTheProgramLeavesTheCompanionWhichBringsItBackLocked) {
    CProgramUnderTest program;
    HWND hStatus = nullptr;
    DWORD nCompanion = 0;
    const DWORD nPid = StartSession(program, &hStatus, &nCompanion);
    ASSERT_NE(hStatus, nullptr) << "the child could not log in";
    ASSERT_NE(nCompanion, 0u) << "no companion";
    const std::vector<DWORD> tree = ProcessTree(nPid);
    for (DWORD nMember : tree) EXPECT_NE(nMember, nCompanion) << "the companion is in the program's tree";

    const DWORD tKilled = ::GetTickCount();
    for (DWORD nMember : tree) program.Kill(nMember);
    DWORD nWaited = 0;
    const DWORD nAgain = WaitForNewProcess(program, "Quenby.exe", nPid, 10000, &nWaited);
    ASSERT_NE(nAgain, 0u) << "the program did not come back";
    const long nLocked = WaitLocked(program, nAgain, tKilled, 10000);
    std::printf("end process tree: back locked after %ld ms\n", nLocked);
    EXPECT_GE(nLocked, 0) << "not back locked";
    EXPECT_TRUE(program.IsRunning(nCompanion)) << "the companion outlived the tree";
    program.Screenshot("attack-process-tree-back-locked");
}

TEST(Attack, BothEndedAtOnceTheNextStartCountsTheGapAsTheChildsUse) {
    CProgramUnderTest program;
    HWND hStatus = nullptr;
    DWORD nCompanion = 0;
    const DWORD nPid = StartSession(program, &hStatus, &nCompanion);
    ASSERT_NE(hStatus, nullptr);
    ASSERT_NE(nCompanion, 0u);
    CProgramUnderTest::Pause(2500);
    const int nShown = UsedSecondsShown(hStatus);
    ASSERT_GE(nShown, 1);
    program.Kill(nCompanion);
    program.Kill(nPid);
    // Nothing brings them back inside one Windows account; the next start does (at the next log-on).
    CProgramUnderTest::Pause(4000);
    EXPECT_TRUE(program.FindProcesses("Quenby.exe").empty());
    const DWORD nAgain = program.Start();
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, 10000, nAgain), nullptr);
    const int nStored = StoredUsed(program);
    std::printf("both ended: %d s shown before, %d s stored after the next start\n", nShown, nStored);
    EXPECT_GE(nStored, nShown + 4) << "the 4 seconds without the program count as use";
}

TEST(Attack, ASuspendedProgramIsEndedAndStartedAgainLockedWithoutLosingUse) {
    CProgramUnderTest program;
    HWND hStatus = nullptr;
    DWORD nCompanion = 0;
    const DWORD nPid = StartSession(program, &hStatus, &nCompanion);
    ASSERT_NE(hStatus, nullptr);
    ASSERT_NE(nCompanion, 0u);
    CProgramUnderTest::Pause(1500);
    const int nShown = UsedSecondsShown(hStatus);
    const DWORD tSuspended = ::GetTickCount();
    SuspendProcess(nPid, true);
    DWORD nWaited = 0;
    const DWORD nAgain = WaitForNewProcess(program, "Quenby.exe", nPid, 20000, &nWaited);
    if (!nAgain) SuspendProcess(nPid, false);
    ASSERT_NE(nAgain, 0u) << "the companion did not replace the suspended program";
    const long nLocked = WaitLocked(program, nAgain, tSuspended, 20000);
    std::printf("suspended: replaced after %lu ms, back locked after %ld ms\n", nWaited, nLocked);
    EXPECT_GE(nLocked, 0);
    EXPECT_GE(nWaited, 4000u) << "a program that beats is left alone for 5 s";
    EXPECT_FALSE(program.IsRunning(nPid)) << "the suspended process was ended";
    EXPECT_GE(StoredUsed(program), nShown + 5) << "the suspended seconds count as use";
}

TEST(Attack, AMutexHeldByAnotherProgramNeverBlocksAStartOrARestart) {
    CProgramUnderTest program;
    PrepareFamily(program, FreeDay());
    HANDLE hHeld = ::CreateMutexA(nullptr, TRUE, kInstanceMutexName);
    ASSERT_NE(hHeld, nullptr);
    const DWORD nPid = program.Start();
    EXPECT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, 10000, nPid), nullptr) << "the held mutex blocked the start";
    DWORD nWaited = 0;
    ASSERT_NE(WaitForNewProcess(program, "Tessaly.exe", 0, 10000, &nWaited), 0u);
    const DWORD tKilled = ::GetTickCount();
    program.Kill(nPid);
    const DWORD nAgain = WaitForNewProcess(program, "Quenby.exe", nPid, 10000, &nWaited);
    ASSERT_NE(nAgain, 0u) << "the held mutex blocked the restart";
    EXPECT_GE(WaitLocked(program, nAgain, tKilled, 10000), 0);
    // A second start while a real Quenby runs is still refused.
    const DWORD nSecond = program.Start("Quenby.exe", kMuteToken);
    DWORD nExit = 0;
    EXPECT_TRUE(program.WaitForExit(nSecond, 10000, &nExit)) << "a second Quenby was not refused";
    ::ReleaseMutex(hHeld);
    ::CloseHandle(hHeld);
}
