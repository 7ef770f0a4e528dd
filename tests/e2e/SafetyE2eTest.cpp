// A child at the keyboard against the files the program keeps: reading the password, deleting
// parent.nam, use.sta or userinfo.aur while the program is ended, making use.sta read-only. Each
// attack ends safely, and the parent finds it in the events at the next login.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/seams/DataFolder.h"
#include "core/store/EventLog.h"
#include "core/store/PasswordField.h"
#include "core/store/UsageStore.h"
#include "E2eSupport.h"
#include "ProgramUnderTest.h"

namespace {

// Ends the companion first (so it brings nothing back), then the program. A companion the
// program's watchdog started in between may bring the program back: whatever of the two still
// runs is ended again, until neither has run for two looks in a row.
void EndBoth(CProgramUnderTest& program, DWORD nPid) {
    for (DWORD nCompanion : program.FindProcesses("Tessaly.exe")) program.Kill(nCompanion);
    program.Kill(nPid);
    const auto endRunning = [&] {
        bool bNone = true;
        for (const char* pszExe : {"Tessaly.exe", "Quenby.exe"})
            for (DWORD nRunning : program.FindProcesses(pszExe)) program.Kill(nRunning), bNone = false;
        return bNone;
    };
    const bool bEnded = WaitFor([&] { return endRunning() && (CProgramUnderTest::Pause(300), endRunning()); }, 30000);
    ASSERT_TRUE(bEnded) << "waited 30 s for the program and its companion to stay ended";
}

// The program's events as "kind account detail" lines (the dialog's list cannot be read from
// another process; the log it shows can).
std::string EventLines(const CProgramUnderTest& program) {
    CDataFolder::Use(program.Folder());
    std::string strLines;
    for (const EVENT_ENTRY& entry : CEventLog::ReadAll())
        strLines += entry.strKind + " " + entry.strAccount + " " + entry.strDetail + "\n";
    CDataFolder::Use(std::string());
    return strLines;
}

// Switches the child out through the status window's button; the lock screen is back.
bool SwitchUser(const CProgramUnderTest& program, HWND hStatus, DWORD nPid) {
    CProgramUnderTest::Click(hStatus, IDC_STATUS_SWITCH);
    return WaitFor([&] { HWND h = program.WaitForWindow(IDC_LOCK_LOGIN, 0, nPid); return h && ::IsWindowVisible(h); },
                   10000);
}

}  // namespace

TEST(Safety, ParentNamHoldsNoPasswordAndDeletingItBringsNoFirstRun) {
    CProgramUnderTest program;
    DWORD nPid = program.Start();
    HWND hFirst = program.WaitForWindow(IDC_FIRST_PASSWORD, CProgramUnderTest::kStartBoundMs, nPid);
    ASSERT_NE(hFirst, nullptr) << "no first-run dialog";
    SetText(hFirst, IDC_FIRST_PASSWORD, "secret");
    SetText(hFirst, IDC_FIRST_CONFIRM, "secret");
    CProgramUnderTest::Click(hFirst, IDC_FIRST_OK);
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid), nullptr);
    const BYTES parent = program.ReadFile("parent.nam");
    ASSERT_EQ(parent.size(), 200u);
    EXPECT_EQ(std::string(parent.begin(), parent.end()).find("secret"), std::string::npos) << "the password is readable";
    EXPECT_TRUE(CPasswordField::IsHashed(parent.data() + 128));

    // Deleted while the program is ended: it comes back from its copy, with the same password.
    EndBoth(program, nPid);
    ASSERT_TRUE(::DeleteFileA(program.PathOf("parent.nam").c_str()));
    nPid = program.Start();
    HWND hLock = program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid);
    ASSERT_NE(hLock, nullptr) << "no lock screen";
    EXPECT_EQ(program.WaitForWindow(IDC_FIRST_PASSWORD, 0, nPid), nullptr) << "a first run after a deleted parent.nam";
    EXPECT_EQ(program.ReadFile("parent.nam").size(), 200u) << "restored";
    SetText(hLock, IDC_LOCK_PASSWORD, "secret");
    CProgramUnderTest::Click(hLock, IDC_LOCK_LOGIN);
    HWND hEvents = program.WaitForWindow(IDC_EVENTS_LIST, 10000, nPid);
    ASSERT_NE(hEvents, nullptr) << "the restore is not listed at the login";
    EXPECT_EQ(::SendMessageA(::GetDlgItem(hEvents, IDC_EVENTS_LIST), LB_GETCOUNT, 0, 0), 3)
        << EventLines(program);  // the first run and the program's end too (it was killed, not shut down)
    EXPECT_NE(EventLines(program).find("restored - parent.nam was missing"), std::string::npos) << EventLines(program);
    CProgramUnderTest::Pause(400);
    program.Screenshot("safety-events");
    CProgramUnderTest::Click(hEvents, IDOK);
    ASSERT_NE(program.WaitForWindow(IDC_ARR_WEEK, 10000, nPid), nullptr) << "no editor";

    // Deleted together with its copy while a child account exists: damaged, and nobody may choose
    // a new Administrator password.
    EndBoth(program, nPid);
    CDataFolder::Use(program.Folder());
    CChildAccountList children;
    children.Add("kid");
    children.Save();
    CDataFolder::Use(std::string());
    ASSERT_TRUE(::DeleteFileA(program.PathOf("parent.nam").c_str()));
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quenby", 0, KEY_SET_VALUE, &hKey), ERROR_SUCCESS);
    ::RegDeleteValueA(hKey, "parent.nam");
    ::RegCloseKey(hKey);
    nPid = program.Start();
    hLock = program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid);
    ASSERT_NE(hLock, nullptr) << "no lock screen";
    CProgramUnderTest::Pause(1500);
    EXPECT_EQ(program.WaitForWindow(IDC_FIRST_PASSWORD, 0, nPid), nullptr) << "a first run with children present";
    EXPECT_EQ(CProgramUnderTest::ItemText(hLock, IDC_LOCK_GROUP), "The Administrator account is damaged.");
    program.Screenshot("safety-damaged");
    CProgramUnderTest::Click(hLock, IDC_LOCK_LOGIN);
    HWND hBox = program.WaitForWindow(0xFFFF, 5000, nPid);
    ASSERT_NE(hBox, nullptr) << "no word about the damaged account";
    EXPECT_EQ(CProgramUnderTest::TextOf(hBox), "Administrator account damaged");
    program.Screenshot("safety-damaged-login");
    CProgramUnderTest::Click(hBox, IDOK);
    EXPECT_EQ(program.WaitForWindow(IDC_ARR_WEEK, 1500, nPid), nullptr) << "the editor opened";
}

TEST(Safety, ADeletedOrReadOnlyUseStaGivesNoTimeBack) {
    CProgramUnderTest program;
    PrepareFamily(program, FreeDay());
    DWORD nPid = program.Start();
    HWND hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    CProgramUnderTest::Pause(4000);
    ASSERT_TRUE(SwitchUser(program, hStatus, nPid));
    const int nStored = StoredUsed(program);
    ASSERT_GE(nStored, 3);

    // Deleted while the program is ended.
    EndBoth(program, nPid);
    ASSERT_TRUE(::DeleteFileA(program.PathOf("use.sta").c_str()));
    nPid = program.Start();
    hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    CProgramUnderTest::Pause(500);
    EXPECT_GE(UsedSecondsShown(hStatus), nStored) << "a deleted use.sta gave time back";

    // Made read-only: the saves still reach the file, and nothing is given back.
    ASSERT_TRUE(SwitchUser(program, hStatus, nPid));
    ASSERT_TRUE(::SetFileAttributesA(program.PathOf("use.sta").c_str(), FILE_ATTRIBUTE_READONLY));
    const int nBefore = StoredUsed(program);
    hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    CProgramUnderTest::Pause(3000);
    const int nShown = UsedSecondsShown(hStatus);
    ASSERT_TRUE(SwitchUser(program, hStatus, nPid));
    EXPECT_GT(StoredUsed(program), nBefore);
    EXPECT_GE(StoredUsed(program), nShown);
    EXPECT_FALSE(::GetFileAttributesA(program.PathOf("use.sta").c_str()) & FILE_ATTRIBUTE_READONLY)
        << "the save made the file writable again";
    EndBoth(program, nPid);
    nPid = program.Start();
    hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    CProgramUnderTest::Pause(500);
    EXPECT_GE(UsedSecondsShown(hStatus), nShown) << "a read-only use.sta gave time back";
}

TEST(Safety, ADeletedUserinfoAurDoesNotSkipARunningRest) {
    CProgramUnderTest program;
    CDayPrj day = FreeDay();
    day.m_bFree = 0;
    day.m_bRest = 1;
    day.m_nRestEvery = 1;
    day.m_nRestMinutes = 10;
    PrepareFamily(program, day);
    DWORD nPid = program.Start();
    ASSERT_NE(LogIn(program, nPid, "kid"), nullptr);
    ASSERT_TRUE(WaitFor([&] { HWND h = FindCurtain(nPid); return !h || !IsCurtainUp(h); }, 5000)) << "not unlocked";
    // A minute of use, then the rest locks the desktop.
    ASSERT_TRUE(WaitFor([&] { HWND h = FindCurtain(nPid); return h && IsCurtainUp(h); }, 90000)) << "no rest";
    CProgramUnderTest::Pause(1500);

    // During the rest the child deletes userinfo.aur and ends the program; the companion brings
    // it back, and the child logs in again.
    ASSERT_TRUE(::DeleteFileA(program.PathOf("userinfo.aur").c_str()));
    program.Kill(nPid);
    DWORD nWaited = 0;
    nPid = WaitForNewProcess(program, "Quenby.exe", nPid, 10000, &nWaited);
    ASSERT_NE(nPid, 0u) << "the companion did not bring the program back";
    ASSERT_NE(LogIn(program, nPid, "kid"), nullptr);
    CProgramUnderTest::Pause(3000);
    HWND hCurtain = FindCurtain(nPid);
    EXPECT_TRUE(hCurtain && IsCurtainUp(hCurtain))
        << "the rest was skipped: the desktop is unlocked; userinfo.aur " << program.FileExists("userinfo.aur")
        << ", events:\n" << EventLines(program) << "stored used " << StoredUsed(program);
    program.Screenshot("safety-rest-kept");
}
