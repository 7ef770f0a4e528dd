// Whether the process at the other end of a pipe may be believed to be the guard, asked before
// the program sends anything, a password least of all. A program of the child's could create the
// pipe's name while the guard is not running and collect whatever is sent to it. So the pipe's
// server must be the process the service manager runs the guard service in, and the pipe's owner
// must be the local system account, which is what the service runs as and what no program of a
// child's account can make the owner of anything. A pipe without an owner is refused as well.
//
// What the system tells about a pipe and the service is reached through the virtual functions, so
// that a test shows a pipe with another owner, or served by another process, getting nothing.
#pragma once

#include <windows.h>

#include <string>

class CPipeTrust {
public:
    // The local system account.
    static constexpr const char* kSystemSid = "S-1-5-18";

    virtual ~CPipeTrust() = default;
    bool Trusts(HANDLE hPipe);

protected:
    // The pipe's owner as text ("S-1-5-18"), or "" when the system names none.
    virtual std::string OwnerOf(HANDLE hPipe);
    // The process serving the pipe; 0 when it cannot be told.
    virtual unsigned long ServerOf(HANDLE hPipe);
    // The process the guard service runs in; 0 when it is not running.
    virtual unsigned long GuardPid();
    virtual std::string ExpectedOwner() { return kSystemSid; }
};
