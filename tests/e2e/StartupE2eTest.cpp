// The program starts from a fresh folder, shows its first window and ends when it is closed.
#include <gtest/gtest.h>

#include "ProgramUnderTest.h"
#include "resources/resource.h"

TEST(Startup, TheProgramShowsItsWindowAndEndsWhenItIsClosed) {
    CProgramUnderTest program;
    const DWORD nPid = program.Start();
    ASSERT_NE(nPid, 0u) << "Quenby.exe could not be started from " << program.Folder();
    HWND hAbout = program.WaitForWindow(IDC_ABOUT_VERSION, 10000, nPid);
    ASSERT_NE(hAbout, nullptr) << "no window with the version line appeared";
    EXPECT_EQ(CProgramUnderTest::ItemText(hAbout, IDC_ABOUT_VERSION), "Quenby 1.0");
    program.Screenshot("startup-first-window");
    CProgramUnderTest::Click(hAbout, IDOK);
    DWORD nExitCode = 1234;
    EXPECT_TRUE(program.WaitForExit(nPid, 5000, &nExitCode));
    EXPECT_EQ(nExitCode, 0u);
}
