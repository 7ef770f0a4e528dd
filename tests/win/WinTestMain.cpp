// Entry of the Windows test program: one application object, as the program has, then the tests.
#include <gtest/gtest.h>

#include "TestHelpers.h"
#include "win/framework/WinApp.h"

namespace {
CWinApp theApp;
}

int main(int argc, char** argv) {
    if (const int nHelper = RunTestHelper(argc, argv); nHelper >= 0) return nHelper;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
