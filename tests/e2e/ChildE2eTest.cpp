// A child's session with the real program: the status window after the login, the notice before
// the mandatory rest, the curtain for the rest with the countdown, "Start to use" after it, a
// switch of user and a second login that resumes the day; then the program killed mid-session
// comes back through its companion and the day is resumed again.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "E2eSupport.h"
#include "ProgramUnderTest.h"

TEST(Child, AnAfternoonWithNoticeRestSwitchAndARestartThatResumes) {
    CProgramUnderTest program;
    // A rest of one minute after every minute of use; nothing else.
    CDayPrj day;
    day.ClearLimits();
    day.m_bRest = 1;
    day.m_nRestEvery = 1;
    day.m_nRestMinutes = 1;
    PrepareFamily(program, day);

    DWORD nPid = program.Start();
    HWND hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr) << "the child could not log in";
    EXPECT_EQ(CProgramUnderTest::ItemText(hStatus, IDC_TITLE).rfind("User kid, ", 0), 0u);
    ASSERT_TRUE(WaitFor([&] { HWND h = FindCurtain(nPid); return !h || !IsCurtainUp(h); }, 5000))
        << "the curtain stays up although the child may use the computer";
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hStatus, IDC_STATUS_START)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hStatus, IDC_STATUS_REST)));
    program.Screenshot("child-status");

    // The default lead time is 30 seconds.
    COtherWindow other;
    HWND hNotice = WaitForNotice(nPid, 45000);
    ASSERT_NE(hNotice, nullptr) << "no notice before the rest";
    const int nUsedAtNotice = UsedSecondsShown(hStatus);
    EXPECT_GE(nUsedAtNotice, 28);
    EXPECT_LE(nUsedAtNotice, 33);
    program.Screenshot("child-notice");

    // The rest: the curtain comes up with the status window in front, showing the countdown.
    ASSERT_TRUE(WaitFor([&] { HWND h = FindCurtain(nPid); return h && IsCurtainUp(h); }, 40000)) << "no lock";
    auto StatusText = [&] { return CProgramUnderTest::ItemText(hStatus, IDC_STATUS_TEXT); };
    EXPECT_TRUE(WaitFor([&] { return StatusText().find("mandatory rest") != std::string::npos; }, 5000))
        << "the status does not tell of the rest: " << StatusText();
    EXPECT_TRUE(::IsWindowVisible(hStatus));
    EXPECT_NE(StatusText().find("\r\n"), std::string::npos) << "the countdown is the second line: " << StatusText();
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hStatus, IDC_STATUS_START)));
    program.Screenshot("child-forced-rest");

    // After the rest "Start to use" unlocks.
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(::GetDlgItem(hStatus, IDC_STATUS_START)) != FALSE; }, 70000))
        << "Start to use never came";
    program.Screenshot("child-rest-done");
    CProgramUnderTest::Click(hStatus, IDC_STATUS_START);
    ASSERT_TRUE(WaitFor([&] { HWND h = FindCurtain(nPid); return !h || !IsCurtainUp(h); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return UsedSecondsShown(hStatus) >= 61; }, 10000))
        << "the use is not counted again after \"Start to use\"";
    const int nBeforeSwitch = UsedSecondsShown(hStatus);
    EXPECT_LE(nBeforeSwitch, 90) << "the minute of rest counted as use";

    // Switch user: the lock screen comes back; a second login the same day resumes.
    CProgramUnderTest::Click(hStatus, IDC_STATUS_SWITCH);
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, 5000, nPid), nullptr) << "no lock screen after switch user";
    hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    EXPECT_TRUE(WaitFor([&] { return UsedSecondsShown(hStatus) >= nBeforeSwitch; }, 5000))
        << "the second login did not resume the day";

    // Killed mid-session, past a once-a-minute save: the companion brings the program back, and
    // the next login resumes with at least what was saved.
    const int nSavedAtLogin = StoredUsed(program);
    ASSERT_TRUE(WaitFor([&] { return StoredUsed(program) > nSavedAtLogin; }, 90000))
        << "no save of the use within a minute and a half";
    const int nSaved = StoredUsed(program);
    const int nBeforeKill = UsedSecondsShown(hStatus);
    DWORD nWaited = 0;
    program.Kill(nPid);
    const DWORD nNew = WaitForNewProcess(program, "Quenby.exe", nPid, 10000, &nWaited);
    ASSERT_NE(nNew, 0u) << "the companion did not bring the program back";
    hStatus = LogIn(program, nNew, "kid");
    ASSERT_NE(hStatus, nullptr);
    EXPECT_TRUE(WaitFor([&] { return UsedSecondsShown(hStatus) >= nSaved; }, 5000))
        << "the use saved before the kill was given back";
    const int nResumed = UsedSecondsShown(hStatus);
    EXPECT_GE(nResumed, nBeforeKill - 60) << "more than a minute of use was given back";
    std::printf("notice at %d s used, %d s before the switch, %d s before the kill, %d s resumed, back in %lu ms\n",
                nUsedAtNotice, nBeforeSwitch, nBeforeKill, nResumed, static_cast<unsigned long>(nWaited));
}
