// Entry of the Windows test program: one application object, as the program has, then the tests.
#include <gtest/gtest.h>

#include "win/framework/WinApp.h"

namespace {
CWinApp theApp;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
