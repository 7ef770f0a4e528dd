// The program and its companion keep each other alive: a killed companion is started again by
// the program's watchdog, a killed program is started again, locked, by the companion, and the
// windows a killed program left hidden come back at its next start.
#include <gtest/gtest.h>

#include <cstdio>

#include "AttackSupport.h"
#include "E2eSupport.h"
#include "ProgramUnderTest.h"

TEST(Companion, EachKeepsTheOtherRunningAndAChildsStateSurvivesTheRestart) {
    CProgramUnderTest program;
    const DWORD nProgram = program.Start();
    ASSERT_NE(program.WaitForWindow(0, CProgramUnderTest::kStartBoundMs, nProgram), nullptr);
    DWORD nWaited = 0;
    const DWORD nCompanion = WaitForNewProcess(program, "Tessaly.exe", 0, 30000, &nWaited);
    ASSERT_NE(nCompanion, 0u) << "the watchdog never started the companion";
    EXPECT_EQ(StoredState(program), 1);

    program.Kill(nCompanion);
    const DWORD nCompanion2 = WaitForNewProcess(program, "Tessaly.exe", nCompanion, 30000, &nWaited);
    ASSERT_NE(nCompanion2, 0u) << "a killed companion was not started again";
    std::printf("companion started again %lu ms after it was killed\n", nWaited);

    // A child was using the computer (state 2) when the program is killed.
    ASSERT_TRUE(ForgeStoredState(program, 2));

    const DWORD nKilled = ::GetTickCount();
    program.Kill(nProgram);
    const DWORD nProgram2 = WaitForNewProcess(program, "Quenby.exe", nProgram, 30000, &nWaited);
    ASSERT_NE(nProgram2, 0u) << "the companion did not start the program again";
    // Locked once the curtain is up and topmost (it shows before the lock puts it in front).
    HWND hCurtain = nullptr;
    auto isLocked = [&] { return hCurtain && (::GetWindowLongA(hCurtain, GWL_EXSTYLE) & WS_EX_TOPMOST); };
    while (!isLocked() && ::GetTickCount() - nKilled < 30000) {
        if (!hCurtain) hCurtain = program.WaitForWindow(0, 10, nProgram2);
        ::Sleep(5);
    }
    const DWORD nLocked = ::GetTickCount() - nKilled;
    ASSERT_NE(hCurtain, nullptr);
    std::printf("program started again %lu ms after it was killed, its curtain up within about %lu ms\n", nWaited,
                nLocked);
    EXPECT_TRUE(::GetWindowLongA(hCurtain, GWL_EXSTYLE) & WS_EX_TOPMOST) << "back locked";
    CProgramUnderTest::Pause(300);
    EXPECT_EQ(StoredState(program), 2) << "the child's use is still reported";
    EXPECT_EQ(program.FindProcesses("Quenby.exe").size(), 1u) << "exactly one program runs again";
}

TEST(Companion, WindowsAKilledProgramLeftHiddenComeBackAtItsNextStart) {
    CProgramUnderTest program;
    COtherWindow other;
    ASSERT_TRUE(other.WaitVisible(true, 1000));
    const DWORD nProgram = program.Start();
    ASSERT_NE(program.WaitForWindow(0, CProgramUnderTest::kStartBoundMs, nProgram), nullptr);
    EXPECT_TRUE(other.WaitVisible(false, 10000)) << "the lock hides another program's window";
    // The window is put away before the list of hidden windows reaches the disk.
    const auto listed = [&] { return program.ReadFile("winnodes.tmp").size() >= 184u; };
    for (int n = 0; n < 200 && !listed(); ++n) CProgramUnderTest::Pause(50);
    EXPECT_TRUE(listed()) << "waited 10 s for winnodes.tmp to name the hidden window";

    // Killed while locked, companion first so that it does not bring the program back.
    DWORD nWaited = 0;
    const DWORD nCompanion = WaitForNewProcess(program, "Tessaly.exe", 0, 30000, &nWaited);
    ASSERT_NE(nCompanion, 0u) << "waited 30 s for the watchdog to start the companion";
    program.Kill(nCompanion);
    program.Kill(nProgram);
    CProgramUnderTest::Pause(500);
    EXPECT_FALSE(::IsWindowVisible(other.m_hWnd)) << "nothing gave the window back yet";

    const DWORD nAgain = program.Start();
    ASSERT_NE(program.WaitForWindow(0, CProgramUnderTest::kStartBoundMs, nAgain), nullptr);
    EXPECT_TRUE(other.WaitVisible(true, 10000)) << "winnodes.tmp named the window to give back";
    program.Screenshot("restart-after-kill-window-back");
}
