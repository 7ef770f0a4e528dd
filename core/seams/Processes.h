// The running programs, as the limits per program see them: the process list with the programs'
// file names, the process of the foreground window, and the two ways a program is ended (its
// windows asked to close, or the process ended). Tests install a fake; natively there is none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One running process: its id and its program file's name ("game.exe").
struct PROCESS_ENTRY {
    std::uint32_t nPid = 0;
    std::string strImage;
};

// A window a person sees, with its program: what the parent picks a program from.
struct PROGRAM_WINDOW {
    std::uint32_t nPid = 0;
    std::string strImage;
    std::string strPath;
    std::string strTitle;
};

class IProcesses {
public:
    virtual ~IProcesses() = default;
    // Replaces the list with the processes running now. The list's storage is reused, since this
    // runs every second.
    virtual void List(std::vector<PROCESS_ENTRY>& processes) = 0;
    // The process whose window is the foreground window; 0 when there is none.
    virtual std::uint32_t ForegroundProcess() = 0;
    // Moves into the list the processes that made a top-level window since the last call (an id
    // may come more than once): a program started behind the others is seen as its window opens,
    // without a look at every process. The first call starts the watch; where the platform cannot
    // tell, the list stays empty.
    virtual void TakeNewWindowProcesses(std::vector<std::uint32_t>& processes) = 0;
    // The full path of a process's program file; "" when it cannot be read.
    virtual std::string PathOf(std::uint32_t nPid) = 0;
    // The original file name the version information of a program file gives ("" when it has
    // none): a renamed copy keeps it.
    virtual std::string OriginalNameOf(const std::string& strPath) = 0;
    // Asks every top-level window of the process to close, as its close button would; the number
    // of windows asked.
    virtual int CloseWindows(std::uint32_t nPid) = 0;
    // Ends the process at once; false when it could not be ended.
    virtual bool End(std::uint32_t nPid) = 0;
    // The process a window belongs to (the window handle's value); 0 when there is none.
    virtual std::uint32_t ProcessOfWindow(std::uint64_t nWindow) = 0;
    // The visible top-level windows with a title, of every program but this one.
    virtual std::vector<PROGRAM_WINDOW> Windows() = 0;
    // The folder of Windows itself with its trailing separator ("C:\Windows\"); "" when unknown.
    virtual std::string WindowsFolder() = 0;
    // This process's id.
    virtual std::uint32_t OwnProcess() = 0;
};

class CProcesses {
public:
    static IProcesses& Get();
    // Replaces the processes everything sees (nullptr: the system's again). Only tests call it.
    static void Use(IProcesses* pProcesses);
};

// The platform's processes: Windows' in the program; natively none.
IProcesses& SystemProcesses();
