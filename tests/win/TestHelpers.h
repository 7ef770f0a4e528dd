// Jobs the Windows test program does as a helper process of a test (started with a switch of its
// own), instead of running the tests.
#pragma once

// The exit code of the helper's job, or -1 when the arguments ask for none.
int RunTestHelper(int argc, char** argv);
