// What a child would try against the program and its companion, each with the safe outcome:
// "End process tree" on the program, ending both processes at once, suspending the program, and
// holding the program's instance mutex; the keys that open something else at the lock screen; the
// end of the Windows session announced by another program.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "AttackSupport.h"
#include "companion/CompanionNames.h"
#include "support/KeyPresses.h"

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
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nAgain), nullptr);
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

TEST(Attack, MutexesHeldByAnotherProgramNeverBlockAStartOrARestart) {
    CProgramUnderTest program;
    PrepareFamily(program, FreeDay());
    HANDLE hHeld = ::CreateMutexA(nullptr, TRUE, kInstanceMutexName);
    ASSERT_NE(hHeld, nullptr);
    // The companion's mutex too: neither keeps the companion from starting.
    HANDLE hCompanionHeld = ::CreateMutexA(nullptr, TRUE, kCompanionMutexName);
    ASSERT_NE(hCompanionHeld, nullptr);
    const DWORD nPid = program.Start();
    EXPECT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid), nullptr) << "the held mutex blocked the start";
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
    ::ReleaseMutex(hCompanionHeld);
    ::CloseHandle(hCompanionHeld);
}

namespace {

// Lets the driver's hook run (its calls come as messages to this thread).
void PumpFor(DWORD nMilliseconds) {
    const DWORD tStart = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - tStart < nMilliseconds) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        ::Sleep(5);
    }
}

DWORD ForegroundProcess() {
    DWORD nPid = 0;
    ::GetWindowThreadProcessId(::GetForegroundWindow(), &nPid);
    return nPid;
}

}  // namespace

TEST(Attack, TheWindowsKeyAndAltTabAtTheLockScreenNeverReachWindowsAndTheForegroundStaysOurs) {
    CProgramUnderTest program;
    PrepareFamily(program, FreeDay());
    HHOOK hCounter = ::SetWindowsHookExA(WH_KEYBOARD_LL, CountKeys, ::GetModuleHandleA(nullptr), 0);
    ASSERT_NE(hCounter, nullptr);
    const DWORD nPid = program.Start();
    ASSERT_GE(WaitLocked(program, nPid, ::GetTickCount(), 10000), 0) << "not locked";
    PumpFor(300);
    g_nKeysSeen = 0;
    PressAndRelease({VK_LWIN});
    PressAndRelease({VK_MENU, VK_TAB});
    PressAndRelease({VK_CONTROL, VK_SHIFT, VK_ESCAPE});
    PumpFor(1000);
    std::printf("keys that went on past the lock: %d (Alt, Ctrl and Shift expected)\n", g_nKeysSeen);
    EXPECT_EQ(g_nKeysSeen, 3) << "the Windows key, Tab and Esc were kept by the lock";
    EXPECT_EQ(ForegroundProcess(), nPid) << "the foreground stays the program's";
    program.Screenshot("attack-keys-at-the-lock-screen");
    ::UnhookWindowsHookEx(hCounter);
}

TEST(Attack, AnEndOfTheSessionSentByAnotherProgramKeepsTheLockAndTheNextStartCountsTheGap) {
    CProgramUnderTest program;
    PrepareFamily(program, FreeDay());
    COtherWindow other;
    const DWORD nPid = program.Start();
    ASSERT_GE(WaitLocked(program, nPid, ::GetTickCount(), 10000), 0);
    ASSERT_TRUE(other.WaitVisible(false, 5000));
    // The messages with which Windows ends a session, sent by another program: it asks, then tells.
    HWND hCurtain = ControllerOf(nPid);
    ASSERT_NE(hCurtain, nullptr);
    EXPECT_EQ(::SendMessageA(hCurtain, WM_QUERYENDSESSION, 0, 0), TRUE) << "Windows is never refused";
    ::SendMessageA(hCurtain, WM_ENDSESSION, TRUE, 0);
    CProgramUnderTest::Pause(1500);
    HWND hCurtainShown = FindCurtain(nPid);
    EXPECT_TRUE(hCurtainShown && IsCurtainUp(hCurtainShown)) << "the lock stays";
    EXPECT_FALSE(::IsWindowVisible(other.m_hWnd)) << "the window put away stays away";

    // During the child's session, and both processes ended right after: the same Windows session
    // ran on, so the time until the next start was the child's.
    HWND hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    CProgramUnderTest::Pause(3000);
    const int nShown = UsedSecondsShown(hStatus);
    ASSERT_GE(nShown, 2);
    ::SendMessageA(hCurtain, WM_ENDSESSION, TRUE, 0);
    for (DWORD nCompanion : program.FindProcesses("Tessaly.exe")) program.Kill(nCompanion);
    program.Kill(nPid);
    EXPECT_GE(StoredUsed(program), nShown) << "the use up to the message is saved";
    CProgramUnderTest::Pause(3000);
    const DWORD nAgain = program.Start();
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nAgain), nullptr);
    const int nStored = StoredUsed(program);
    std::printf("announced session end: %d s shown, %d s stored after the next start\n", nShown, nStored);
    EXPECT_GE(nStored, nShown + 3) << "the gap after a session end that was not Windows' counts";
    const BYTES log = program.ReadFile("events.log");
    EXPECT_NE(std::string(log.begin(), log.end()).find("the same session ran on"), std::string::npos);
}
