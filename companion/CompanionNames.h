// Names the program and its companion agree on: the two mutexes, the mute token and the files.
#pragma once

// Held by a running Quenby.exe for its whole run.
constexpr const char* kInstanceMutexName = "{F5AFF561-E243-11d1-A18D-DCB3C85EBD34}";
// Held by a running Tessaly.exe.
constexpr const char* kCompanionMutexName = "{AAAFF561-E243-11d1-A18D-DCB3C85EBD11}";
// Anywhere on the command line, it silences the refusal of a second instance.
constexpr const char* kMuteToken = "*mute*";
// Put on the command line by the companion that ended a program whose heartbeat stood still.
constexpr const char* kHungToken = "*hung*";
// The companion's first argument that makes it the short-lived launcher of the command line after it.
constexpr const char* kLaunchSwitch = "/launch";
constexpr const char* kCompanionExe = "Tessaly.exe";
constexpr const char* kCompanionLibrary = "Lumrik.dll";
// The string resource that stamps the library and the companion with the build they belong to.
constexpr unsigned kBuildIdString = 9001;
// The program's state as it tells the companion (SetMainProgState): the companion brings a run
// back only while it is locked or a child is logged in, and the next start resumes a child's login.
enum PROGRAM_STATE : int {
    PROGRAM_LOCKED = 1,         // the lock screen, nobody logged in
    PROGRAM_CHILD = 2,          // a child is logged in
    PROGRAM_CLOSED = 3,         // closed on purpose from the editor
    PROGRAM_ADMINISTRATOR = 4,  // the Administrator is logged in; also a start that gave up
};
