// The install scenario's steps about the guard service (see GuardSteps.cpp).
#pragma once

// The step's exit code (0 when it did what it should), or -1 when the arguments name no step of the guard's.
int RunGuardStep(int argc, char** argv);
