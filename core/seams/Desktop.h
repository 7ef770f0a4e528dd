// The Windows desktop and logon session the program runs in. Any program of the account may
// create a desktop and switch the input to it, where the curtain does not reach, so the program
// asks which desktop has the input and switches it back. And any program may send the message
// that the session ends, so a start tells a real end by the logon session that ran on. Tests
// replace it.
#pragma once

#include <cstdint>
#include <string>

class IDesktop {
public:
    virtual ~IDesktop() = default;
    // The name of the desktop that receives the input; "" when it cannot be opened (a secure
    // desktop of the system's, such as the one of Ctrl+Alt+Del, where no program of the account runs).
    virtual std::string InputDesktop() = 0;
    // The name of the desktop the program's windows are on.
    virtual std::string OwnDesktop() = 0;
    // Gives the input back to the program's desktop; false when the system refused.
    virtual bool SwitchToOwn() = 0;
    // What identifies the Windows logon session the program runs in (the logon's id), so that a
    // later start can tell whether the session it ran in has ended.
    virtual std::uint64_t LogonSession() = 0;
    // True while Windows itself ends the session (its own word, which no program can send).
    virtual bool IsSessionEnding() = 0;
};

class CDesktop {
public:
    static IDesktop& Get();
    // Replaces the desktop (nullptr: the real one again). Only tests call it.
    static void Use(IDesktop* pDesktop);
};

// The platform's real desktop.
IDesktop& RealDesktop();
