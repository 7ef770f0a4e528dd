// The actions on the machine that tests must never run for real: setting the clock, shutting
// down, starting processes, the auto-run registry value, synthesised keys and the foreground lock.
#pragma once

#include <cstdint>
#include <string>

#include "core/seams/Clock.h"

class ISystemActions {
public:
    virtual ~ISystemActions() = default;

    // Sets the system's local time; false when the system refuses.
    virtual bool SetLocalTime(const CLocalTime& time) = 0;

    // Sets the system's time zone back to one the clock seam described (CClock::Zone); false when
    // the system refuses. Refused unless a platform says otherwise.
    virtual bool SetZone(const std::string& /*strZone*/) { return false; }

    // Shut-down in its three steps, so that a failure of each can be reported on its own.
    virtual bool OpenProcessToken() = 0;
    virtual bool AdjustShutdownPrivilege() = 0;
    virtual bool ExitSystem(unsigned uFlags) = 0;  // shut down or restart (ExitWindowsEx flags)

    // Starts a program with the given command line (the program path included); false on failure.
    virtual bool StartProcess(const std::string& strPath, const std::string& strCommandLine) = 0;

    // Opens a document or web address with the shell verb "open", shown normally. Returns the
    // shell's code: above 32 on success, else the reason (2 file not found, 31 no association...).
    // Actions that do not open documents refuse with 0.
    virtual int ShellOpen(const std::string& /*strTarget*/) { return 0; }
    // Runs a whole command line, shown normally; the same codes as ShellOpen.
    virtual int RunCommandLine(const std::string& /*strCommandLine*/) { return 0; }
    // The command line registered for opening web pages (the open command of the class that ".htm"
    // files belong to), its "%1" placeholder included; "" when none is registered. Actions that
    // open no documents know none.
    virtual std::string WebPageCommand() { return {}; }

    // The auto-run value under the current account's Run key. Each returns the registry status
    // (0 = success; deleting a missing value gives 2, ERROR_FILE_NOT_FOUND).
    virtual long WriteRunValue(const std::string& strName, const std::string& strData) = 0;
    virtual long ReadRunValue(const std::string& strName, std::string& strData) = 0;
    virtual long DeleteRunValue(const std::string& strName) = 0;
    // A value under the current account's RunOnce key (a name that begins with "*" is run in Safe
    // Mode too), written or deleted; the registry status (deleting a missing value gives 2).
    // Refused unless a platform says otherwise.
    virtual long WriteRunOnceValue(const std::string& /*strName*/, const std::string& /*strData*/) { return -1; }
    virtual long DeleteRunOnceValue(const std::string& /*strName*/) { return -1; }

    // Synthesises a press or a release of a key as the keyboard sends it (flagged as an extended key).
    virtual void SendKey(unsigned char nVirtualKey, bool bRelease) = 0;
    // The system-wide foreground lock time-out in milliseconds. Setting it also updates the user
    // profile and tells every top-level window of the change.
    virtual unsigned long GetForegroundLockTimeout() = 0;
    virtual void SetForegroundLockTimeout(unsigned long nMilliseconds) = 0;

    // Starts playing a wave file and returns at once; a sound still playing is cut off. Nothing
    // happens when the file is missing. Actions that play nothing ignore it.
    virtual void PlayWave(const std::string& /*strPath*/) {}

    // Reads the primary display's current mode into a display-settings image (a 156-byte DEVMODEA);
    // false, with the image untouched, when it cannot be told. Reads nothing unless a platform does.
    virtual bool CurrentDisplayMode(std::uint8_t (&dmDisplay)[156]) {
        (void)dmDisplay;
        return false;
    }
    // Switches the primary display to the mode of a display-settings image (a 156-byte DEVMODEA,
    // as the hidden-window list keeps it); false when refused. Refused unless a platform says otherwise.
    virtual bool ChangeDisplayMode(const std::uint8_t (&dmDisplay)[156]) {
        (void)dmDisplay;
        return false;
    }
};

class CSystem {
public:
    static ISystemActions& Get();
    // Replaces the actions (nullptr: the real ones again). Only tests call it.
    static void Use(ISystemActions* pActions);
};

// The platform's real actions.
ISystemActions& RealSystemActions();
