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
// The string resource that stamps the program, the library and the companion with the build they
// belong to: a process is taken for the program or the companion only when its file carries it.
constexpr unsigned kBuildIdString = 9001;
// The guard service of the installed program (Tessaly.exe run by the service manager) and its pipe.
constexpr const char* kGuardServiceName = "QuenbyGuard";
constexpr const char* kGuardServiceTitle = "Quenby guard";
constexpr const char* kGuardPipeName = "\\\\.\\pipe\\QuenbyGuard";
// Tessaly.exe's arguments: the service (the service manager gives it), the same guard in a console,
// and the setup program's: register, unregister, and the first Administrator's password.
constexpr const char* kServiceSwitch = "/service";
constexpr const char* kConsoleSwitch = "/console";
constexpr const char* kRegisterSwitch = "/register";
constexpr const char* kUnregisterSwitch = "/unregister";
constexpr const char* kFirstRunSwitch = "/firstrun";
// The running companion's pipe, followed by its process id: the program hands it, and only the
// process the companion watches can, the one-time value it will end with when it ends on purpose.
constexpr const char* kEndPipePrefix = "\\\\.\\pipe\\Quenby.Tessaly.";
// The program's state as it tells the companion (SetMainProgState): what the next start resumes
// (a child's login) and what the companion shows; standing the companion down takes more than a
// state (the one-time value above).
enum PROGRAM_STATE : int {
    PROGRAM_LOCKED = 1,         // the lock screen, nobody logged in
    PROGRAM_CHILD = 2,          // a child is logged in
    PROGRAM_CLOSED = 3,         // closed on purpose from the editor
    PROGRAM_ADMINISTRATOR = 4,  // the Administrator is logged in; also a start that gave up
};
