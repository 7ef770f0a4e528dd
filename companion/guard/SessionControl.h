// The Windows sessions the guard looks after, and the start of the program in one of them. The
// service's way is the Terminal Services calls: the interactive sessions, each one's account and
// whether it is a Windows administrator's, and a start with the session user's own token on
// winsta0\default, so that the program runs in that account, on that desktop. Tests put sessions
// of their own in its place.
#pragma once

#include <string>
#include <vector>

struct GUARD_SESSION {
    unsigned long nId = 0;
    std::string strAccount;      // the account logged on, without its domain
    bool bAdministrator = false;  // a member of the Administrators group (even while UAC filters it)
};

class ISessionControl {
public:
    virtual ~ISessionControl() = default;
    // The sessions with someone logged on at the machine's screen (or a remote one).
    virtual std::vector<GUARD_SESSION> ActiveSessions() = 0;
    // Starts a command line in the session as its user; the process id, 0 when it did not start.
    virtual unsigned long StartProgram(unsigned long nSession, const std::string& strPath,
                                       const std::string& strCommandLine) = 0;
};

class CWtsSessions final : public ISessionControl {
public:
    std::vector<GUARD_SESSION> ActiveSessions() override;
    unsigned long StartProgram(unsigned long nSession, const std::string& strPath,
                               const std::string& strCommandLine) override;
};
