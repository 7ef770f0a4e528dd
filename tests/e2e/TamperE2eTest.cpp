// A determined child against the real program: killing it again and again during a session,
// killing its companion, killing both, and damaging its data files while it is stopped. The
// program must always come back locked, never give back used time beyond the last minute's
// unsaved ticks, and never leave a torn data file.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "AttackSupport.h"
#include "core/seams/DataFolder.h"
#include "core/store/ActiveUserList.h"
#include "core/store/AdminAccount.h"
#include "core/store/ChildAccountList.h"
#include "core/store/HiddenWindowList.h"
#include "core/store/PrjStore.h"
#include "core/store/UsageStore.h"
#include "E2eSupport.h"
#include "ProgramUnderTest.h"

namespace {

// Every data file present is made of whole records.
::testing::AssertionResult FilesAreWhole(const CProgramUnderTest& program) {
    const std::string strTorn = TornFile(program);
    if (strTorn.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << strTorn << " is torn";
}

}  // namespace

TEST(Tamper, KilledFiftyTimesDuringAChildsSessionItComesBackLockedAndKeepsTheUsage) {
    CProgramUnderTest program;
    PrepareFamily(program, FreeDay());
    DWORD nPid = program.Start();
    HWND hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr) << "the child could not log in";
    DWORD nWaited = 0;
    ASSERT_NE(WaitForNewProcess(program, "Tessaly.exe", 0, 5000, &nWaited), 0u) << "no companion";

    std::mt19937 random(20261208);  // the same "random" moments in every run
    std::uniform_int_distribution<int> pause(200, 2500);
    long nSlowest = 0;
    int nRestarts = 0, nFilesChecked = 0, nHighestShown = 0;
    for (int nKill = 0; nKill < 50; ++nKill) {
        ::Sleep(static_cast<DWORD>(pause(random)));
        nHighestShown = std::max(nHighestShown, UsedSecondsShown(hStatus));
        const DWORD tKilled = ::GetTickCount();
        program.Kill(nPid);
        const DWORD nNew = WaitForNewProcess(program, "Quenby.exe", nPid, 5000, &nWaited);
        ASSERT_NE(nNew, 0u) << "kill " << nKill << ": the companion did not bring the program back";
        nPid = nNew;
        const long nLocked = WaitLocked(program, nPid, tKilled, 5000);
        ASSERT_GE(nLocked, 0) << "kill " << nKill << ": not back locked";
        EXPECT_LE(nLocked, 2000) << "kill " << nKill << ": back locked only after " << nLocked << " ms";
        nSlowest = std::max(nSlowest, nLocked);
        ++nRestarts;

        EXPECT_TRUE(FilesAreWhole(program)) << "after kill " << nKill;
        nFilesChecked += static_cast<int>(std::size(kDataFiles));
        const int nStored = StoredUsed(program);
        EXPECT_GE(nStored, nHighestShown - 60) << "kill " << nKill << ": more than a minute of use was given back";

        hStatus = LogIn(program, nPid, "kid");
        ASSERT_NE(hStatus, nullptr) << "kill " << nKill << ": the child could not log in again";
        EXPECT_TRUE(WaitFor([&] { return UsedSecondsShown(hStatus) >= nStored; }, 5000))
            << "kill " << nKill << ": the login did not resume the stored day";
        const int nResumed = UsedSecondsShown(hStatus);
        EXPECT_GE(nResumed, nHighestShown - 60) << "kill " << nKill << ": the resumed day lost more than a minute";
    }
    std::printf("kills 50, restarts %d, slowest back-locked %ld ms, data files checked %d\n", nRestarts, nSlowest,
                nFilesChecked);
}

// How fast it comes back is a figure (docs/PERFORMANCE.md), not a condition: a busy machine may
// take longer than the watchdog's usual fraction of a second.
TEST(Tamper, TheCompanionKilledTwentyTimesIsBackEachTime) {
    CProgramUnderTest program;
    PrepareFamily(program, FreeDay());
    const DWORD nPid = program.Start();
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid), nullptr);
    DWORD nWaited = 0;
    DWORD nCompanion = WaitForNewProcess(program, "Tessaly.exe", 0, 5000, &nWaited);
    ASSERT_NE(nCompanion, 0u);
    DWORD nSlowest = 0;
    for (int nKill = 0; nKill < 20; ++nKill) {
        program.Kill(nCompanion);
        nCompanion = WaitForNewProcess(program, "Tessaly.exe", nCompanion, 5000, &nWaited);
        ASSERT_NE(nCompanion, 0u) << "kill " << nKill << ": the companion was not started again";
        nSlowest = std::max(nSlowest, nWaited);
    }
    std::printf("companion kills 20, slowest restart %lu ms\n", nSlowest);
}

TEST(Tamper, AfterBothAreKilledTheNextStartGivesTheHiddenWindowsBack) {
    CProgramUnderTest program;
    PrepareFamily(program, FreeDay());
    COtherWindow other;
    ASSERT_TRUE(other.WaitVisible(true, 1000));
    DWORD nPid = program.Start();
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid), nullptr);
    EXPECT_TRUE(other.WaitVisible(false, 3000)) << "locked: another program's window is hidden";
    DWORD nWaited = 0;
    const DWORD nCompanion = WaitForNewProcess(program, "Tessaly.exe", 0, 5000, &nWaited);
    if (nCompanion) program.Kill(nCompanion);
    program.Kill(nPid);
    EXPECT_TRUE(FilesAreWhole(program));

    nPid = program.Start();
    EXPECT_TRUE(other.WaitVisible(true, 5000)) << "the window recorded in winnodes.tmp came back";
    ASSERT_NE(LogIn(program, nPid, "kid"), nullptr);
    EXPECT_TRUE(other.WaitVisible(true, 5000)) << "the child's first ticks give the desktop back";
    EXPECT_TRUE(WaitFor([&] { return program.ReadFile("winnodes.tmp").empty(); }, 5000))
        << "something is left hidden after the unlock";
}

TEST(Tamper, DamagedDataFilesNeverCrashOrUnlockTheProgram) {
    enum EDamage { DELETED, TRUNCATED, GARBAGE };
    std::mt19937 random(7);
    int nStarts = 0;
    for (const DATA_FILE& file : kDataFiles) {
        for (EDamage damage : {DELETED, TRUNCATED, GARBAGE}) {
            SCOPED_TRACE(std::string(file.pszName) + (damage == DELETED ? " deleted" : damage == TRUNCATED ? " truncated" : " garbage"));
            CProgramUnderTest program;
            PrepareFamily(program, FreeDay());
            {
                // Every file exists before it is damaged: a session of "kid" writes the others.
                const DWORD nFirst = program.Start();
                ASSERT_NE(LogIn(program, nFirst, "kid"), nullptr);
                CProgramUnderTest::Pause(1200);
                DWORD nWaited = 0;
                const DWORD nCompanion = WaitForNewProcess(program, "Tessaly.exe", 0, 3000, &nWaited);
                if (nCompanion) program.Kill(nCompanion);
                program.Kill(nFirst);
            }
            const std::string strPath = program.PathOf(file.pszName);
            BYTES bytes = program.ReadFile(file.pszName);
            if (damage == DELETED) {
                ::DeleteFileA(strPath.c_str());
            } else {
                if (damage == TRUNCATED) bytes.resize(bytes.size() > 7 ? bytes.size() - 7 : 0);
                else for (auto& b : bytes.empty() ? (bytes = BYTES(300), bytes) : bytes) b = static_cast<std::uint8_t>(random());
                FILE* pFile = std::fopen(strPath.c_str(), "wb");
                ASSERT_NE(pFile, nullptr);
                if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), pFile);
                std::fclose(pFile);
            }

            const DWORD tStart = ::GetTickCount();
            const DWORD nPid = program.Start();
            ++nStarts;
            // Locked: the curtain is up, under the lock screen or the first-run dialog.
            HWND hCurtain = nullptr;
            while (!hCurtain && ::GetTickCount() - tStart < 10000) {
                hCurtain = FindCurtain(nPid);
                ::Sleep(20);
            }
            ASSERT_NE(hCurtain, nullptr) << "no curtain";
            // The files are read before either window opens: once one is up, the program got past them.
            EXPECT_TRUE(WaitFor([&] {
                return program.WaitForWindow(IDC_LOCK_LOGIN, 0, nPid) || program.WaitForWindow(IDC_FIRST_PASSWORD, 0, nPid);
            }, 10000)) << "neither the lock screen nor the first-run dialog";
            EXPECT_TRUE(program.IsRunning(nPid)) << "the program ended";
            EXPECT_TRUE(IsCurtainUp(hCurtain)) << "the desktop is not locked";
        }
    }
    std::printf("damaged-file starts %d\n", nStarts);
}
