// The guard's work on Windows, the same whether the service manager runs it or a console does:
// it sets the data folder's rights, takes over the data, serves the pipe, and every quarter second
// looks at each protected session: a session without Quenby gets one started in it; a Quenby that
// ended, or that stopped beating for 5 s (suspended or hung), is ended and started again, and the
// time it was gone is counted as the child's use and logged. About every second it puts back data
// files changed behind its back and a time zone changed during a child's day. It writes the
// companion files (state and heartbeat) for the programs it hears from.
#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <string>

#include "companion/guard/PipeServer.h"
#include "companion/guard/SessionControl.h"
#include "companion/win32/MyMessenger.h"
#include "core/guard/GuardCore.h"
#include "core/store/EventLogSink.h"
#include "core/store/ProtectedAccounts.h"

class CGuardHost final : public IGuardListener {
public:
    static constexpr DWORD kRoundMs = 250;
    // Before its first round the guard listens this long for programs already running.
    static constexpr DWORD kFirstRoundMs = 1500;

    // The pipe's name, the program to keep running (Quenby.exe) and the sessions' calls.
    CGuardHost(std::string strPipe, std::string strProgram, ISessionControl& sessions);
    ~CGuardHost() override;
    CGuardHost(const CGuardHost&) = delete;
    CGuardHost& operator=(const CGuardHost&) = delete;

    // Everything up to serving the pipe; false when the pipe's name is someone else's.
    bool Start();
    // The rounds, until hStop is set.
    void Run(HANDLE hStop);
    void Stop();

    void OnBeat(const GUARD_CLIENT& client, const std::string& strUser, const std::string& strZone) override;
    void OnState(const GUARD_CLIENT& client, int nState) override;

private:
    struct WATCHED {
        unsigned long nPid = 0;
        HANDLE hProcess = nullptr;
    };
    void Round(bool bTick);
    void Look(const GUARD_SESSION& session, std::int64_t nNowMs);
    HANDLE ProcessOf(unsigned long nSession, unsigned long nPid);
    void Forget(unsigned long nSession);
    bool IsProgram(unsigned long nPid);
    BYTES Handle(const BYTES& request, GUARD_CLIENT client);

    std::string m_strProgram;
    ISessionControl& m_sessions;
    std::mutex m_mutex;
    CGuardKeeper m_keeper;
    CGuardCore m_core{m_keeper};
    CPipeServer m_server;
    CMyMessenger m_messenger;
    CEventLogSink m_sink;
    CProtectedAccounts m_protected;
    std::map<unsigned long, WATCHED> m_watched;
    bool m_bStarted = false;
};
