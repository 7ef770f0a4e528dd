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
    CProgramUnderTest::Pause(1500);
    EXPECT_TRUE(::IsWindowVisible(hStatus));
    const std::string strStatus = CProgramUnderTest::ItemText(hStatus, IDC_STATUS_TEXT);
    EXPECT_NE(strStatus.find("mandatory rest"), std::string::npos) << strStatus;
    EXPECT_NE(strStatus.find("\r\n"), std::string::npos) << "the countdown is the second line: " << strStatus;
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hStatus, IDC_STATUS_START)));
    program.Screenshot("child-forced-rest");

    // After the rest "Start to use" unlocks.
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(::GetDlgItem(hStatus, IDC_STATUS_START)) != FALSE; }, 70000))
        << "Start to use never came";
    program.Screenshot("child-rest-done");
    CProgramUnderTest::Click(hStatus, IDC_STATUS_START);
    ASSERT_TRUE(WaitFor([&] { HWND h = FindCurtain(nPid); return !h || !IsCurtainUp(h); }, 5000));
    CProgramUnderTest::Pause(3000);
    const int nBeforeSwitch = UsedSecondsShown(hStatus);
    EXPECT_GE(nBeforeSwitch, 61) << "the rest did not count as use";

    // Switch user: the lock screen comes back; a second login the same day resumes.
    CProgramUnderTest::Click(hStatus, IDC_STATUS_SWITCH);
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, 5000, nPid), nullptr) << "no lock screen after switch user";
    hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    CProgramUnderTest::Pause(1500);
    EXPECT_GE(UsedSecondsShown(hStatus), nBeforeSwitch) << "the second login did not resume the day";

    // Killed mid-session: the companion brings the program back, and the next login resumes.
    CProgramUnderTest::Pause(61000);  // past a once-a-minute save
    const int nBeforeKill = UsedSecondsShown(hStatus);
    DWORD nWaited = 0;
    program.Kill(nPid);
    const DWORD nNew = WaitForNewProcess(program, "Quenby.exe", nPid, 10000, &nWaited);
    ASSERT_NE(nNew, 0u) << "the companion did not bring the program back";
    hStatus = LogIn(program, nNew, "kid");
    ASSERT_NE(hStatus, nullptr);
    CProgramUnderTest::Pause(1500);
    const int nResumed = UsedSecondsShown(hStatus);
    EXPECT_GE(nResumed, nBeforeKill - 60) << "more than a minute of use was given back";
    EXPECT_GE(nResumed, nBeforeSwitch);
    std::printf("notice at %d s used, %d s before the switch, %d s before the kill, %d s resumed, back in %lu ms\n",
                nUsedAtNotice, nBeforeSwitch, nBeforeKill, nResumed, static_cast<unsigned long>(nWaited));
}
