// The actions on the machine that tests must never run for real: setting the clock, shutting
// down, starting processes and the auto-run registry value.
#pragma once

#include <string>

#include "seams/Clock.h"

class ISystemActions {
public:
    virtual ~ISystemActions() = default;

    // Sets the system's local time; false when the system refuses.
    virtual bool SetLocalTime(const CLocalTime& time) = 0;

    // Shut-down in its three steps, so that a failure of each can be reported on its own.
    virtual bool OpenProcessToken() = 0;
    virtual bool AdjustShutdownPrivilege() = 0;
    virtual bool ExitWindows(unsigned uFlags) = 0;

    // Starts a program with the given command line (the program path included); false on failure.
    virtual bool StartProcess(const std::string& strPath, const std::string& strCommandLine) = 0;

    // The auto-run value under the machine's Run key. Each returns the registry status (0 = success).
    virtual long WriteRunValue(const std::string& strName, const std::string& strData) = 0;
    virtual long ReadRunValue(const std::string& strName, std::string& strData) = 0;
    virtual long DeleteRunValue(const std::string& strName) = 0;
};

class CSystem {
public:
    static ISystemActions& Get();
    // Replaces the actions (nullptr: the real ones again). Only tests call it.
    static void Use(ISystemActions* pActions);
};

// The platform's real actions.
ISystemActions& RealSystemActions();
