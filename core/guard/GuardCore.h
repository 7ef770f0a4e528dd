// The guard's work, the same in the service and in a test: it answers each request of the pipe
// (after checking it, see CWriteCheck), keeps the Administrator's tokens and the growing wait
// after wrong passwords, the watch over each session's program, the zone it holds, and the record
// of what it refused. Nothing here knows Windows: the host that owns the pipe and starts the
// programs tells it who asks (process and session) and asks it what to do.
#pragma once

#include <map>
#include <string>

#include "core/guard/GuardKeeper.h"
#include "core/guard/GuardMessage.h"
#include "core/guard/GuardTokens.h"
#include "core/guard/RefusalLog.h"
#include "core/guard/SessionWatch.h"
#include "core/guard/ZoneHold.h"
#include "core/rules/LoginThrottle.h"

// Who sent a request, as the pipe tells it (never as the request claims).
struct GUARD_CLIENT {
    unsigned long nPid = 0;
    unsigned long nSession = 0;
    bool bProgram = false;  // the process runs the installed Quenby.exe: only it beats and tells its state
};

// What the host does with beats and states besides the guard's own watch (the companion files).
class IGuardListener {
public:
    virtual ~IGuardListener() = default;
    virtual void OnBeat(const GUARD_CLIENT& client, const std::string& strUser, const std::string& strZone) = 0;
    virtual void OnState(const GUARD_CLIENT& client, int nState) = 0;
};

class CGuardCore {
public:
    explicit CGuardCore(CGuardKeeper& keeper) : m_keeper(keeper) {}

    void UseListener(IGuardListener* pListener) { m_pListener = pListener; }
    // One request in, one answer out. Everything refused is logged.
    BYTES Handle(const BYTES& message, const GUARD_CLIENT& client);
    // The process has ended: its tokens end with it.
    void OnProcessEnded(unsigned long nPid) { m_tokens.EndForProcess(nPid); }
    // The guard's round (about every second): files changed behind its back are put back, and a
    // zone changed during a child's day is set back.
    void Tick(bool bChildDay);
    // Counts the time the session's program was not running (since the child's last save) as the
    // child's use, once, and logs it; bHung: the guard ended it because it stood still.
    void CountGap(unsigned long nSession, bool bHung);

    CSessionWatch& Session(unsigned long nSession) { return m_sessions[nSession]; }
    void ForgetSession(unsigned long nSession) { m_sessions.erase(nSession); }
    bool IsAdministratorIn() const { return m_tokens.AnyValid(); }
    CZoneHold& Zone() { return m_zone; }
    const CRefusalLog& Refusals() const { return m_refusals; }

private:
    GUARD_ANSWER Login(const GUARD_REQUEST& request, const GUARD_CLIENT& client);
    GUARD_ANSWER Write(const GUARD_REQUEST& request, const GUARD_CLIENT& client, bool bAdministrator);
    GUARD_ANSWER Event(const GUARD_REQUEST& request, bool bAdministrator);
    GUARD_ANSWER State(const GUARD_REQUEST& request, const GUARD_CLIENT& client, bool bAdministrator);
    GUARD_ANSWER Refuse(const GUARD_CLIENT& client, const std::string& strWhat, const std::string& strWhy);
    std::string ChildOf(const GUARD_CLIENT& client);

    CGuardKeeper& m_keeper;
    IGuardListener* m_pListener = nullptr;
    CGuardTokens m_tokens;
    CLoginThrottle m_throttle;
    CRefusalLog m_refusals;
    CZoneHold m_zone;
    std::map<unsigned long, CSessionWatch> m_sessions;
};
