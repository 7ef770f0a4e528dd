// Start-up from a fresh folder: the Administrator record is written, the screen is locked under
// the curtain, and a second start is refused (silently with "*mute*" anywhere on its line).
#include <gtest/gtest.h>

#include <cstring>

#include "core/store/AdminAccount.h"
#include "HashedFields.h"
#include "ProgramUnderTest.h"
#include "resources/resource.h"

namespace {

bool IsTopmost(HWND hWnd) { return (::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The curtain covers the primary screen from one pixel beyond its edges.
bool CoversTheScreen(HWND hWnd) {
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    return rc.left <= 0 && rc.top <= 0 && rc.right >= ::GetSystemMetrics(SM_CXSCREEN) &&
           rc.bottom >= ::GetSystemMetrics(SM_CYSCREEN);
}

}  // namespace

TEST(Startup, AFirstStartWritesTheAdministratorRecordAndLocksTheScreen) {
    CProgramUnderTest program;
    const DWORD nPid = program.Start();
    ASSERT_NE(nPid, 0u) << "Quenby.exe could not be started from " << program.Folder();
    // A first start asks for the Administrator password in front of the curtain.
    ASSERT_NE(program.WaitForWindow(IDC_FIRST_PASSWORD, CProgramUnderTest::kStartBoundMs, nPid), nullptr) << "no first-run dialog";
    HWND hCurtain = ::FindWindowA("#32770", "Quenby");
    ASSERT_NE(hCurtain, nullptr) << "no curtain appeared";
    EXPECT_EQ(CProgramUnderTest::TextOf(hCurtain), "Quenby");
    EXPECT_TRUE(IsTopmost(hCurtain));
    EXPECT_TRUE(CoversTheScreen(hCurtain));

    CAdminAccount fresh;
    const BYTES expected(reinterpret_cast<const std::uint8_t*>(&fresh.m_admin),
                         reinterpret_cast<const std::uint8_t*>(&fresh.m_admin) + sizeof fresh.m_admin);
    EXPECT_EQ(WithoutPasswords(program.ReadFile("parent.nam"), 200), WithoutPasswords(expected, 200))
        << "exactly the record of a first run";
    EXPECT_TRUE(HoldsHashed(program.ReadFile("parent.nam"), 128, "")) << "no password yet, and none readable";
    EXPECT_TRUE(program.FileExists("winnodes.tmp"));
    CProgramUnderTest::Pause(500);
    program.Screenshot("startup-first-run-over-the-curtain");
}

TEST(Startup, ASecondStartIsRefusedAndSilentlySoWithTheMuteToken) {
    CProgramUnderTest program;
    const DWORD nFirst = program.Start();
    ASSERT_NE(program.WaitForWindow(0, 10000, nFirst), nullptr);

    const DWORD nSecond = program.Start();
    HWND hBox = program.WaitForWindow(0xFFFF, 10000, nSecond);
    ASSERT_NE(hBox, nullptr) << "no message box from the second start";
    EXPECT_EQ(CProgramUnderTest::ItemText(hBox, 0xFFFF), "Application already running!");
    EXPECT_EQ(CProgramUnderTest::TextOf(hBox), "Quenby");
    program.Screenshot("startup-second-instance");
    CProgramUnderTest::Click(hBox, IDOK);
    EXPECT_TRUE(program.WaitForExit(nSecond, 5000));

    // The token counts anywhere in the line, even inside another argument.
    const DWORD nMuted = program.Start("Quenby.exe", "--x=ab*mute*cd");
    EXPECT_TRUE(program.WaitForExit(nMuted, 5000)) << "a muted second start ends by itself";
    EXPECT_TRUE(program.IsRunning(nFirst));
}
