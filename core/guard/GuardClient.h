// The program's side of the guard: every write, event and password goes to the guard as a
// request, with the Administrator's token once the guard gave one. How a request travels (the
// service's pipe, or straight into a guard in a test) is the transport's.
#pragma once

#include <string>

#include "core/guard/GuardMessage.h"
#include "core/seams/DataGuard.h"

class IGuardTransport {
public:
    virtual ~IGuardTransport() = default;
    // Sends one request and receives its answer; false when the guard could not be reached (or
    // is not the guard: then nothing was sent).
    virtual bool Exchange(const BYTES& request, BYTES& answer) = 0;
};

class CGuardClient final : public IDataGuard {
public:
    explicit CGuardClient(IGuardTransport& transport) : m_transport(transport) {}

    bool Write(const std::string& strFile, const BYTES& image) override;
    bool Event(const std::string& strKind, const std::string& strAccount, const std::string& strDetail) override;
    bool Login(const std::string& strPassword) override;
    void Logout() override;
    bool IsReachable() override;

    // The program is alive: the child logged in ("" none) and the zone it holds.
    bool Beat(const std::string& strUser, const std::string& strZone);
    // The program's state (0: it ends in order).
    bool SetState(int nState);

    bool HasToken() const { return !m_token.empty(); }
    // The guard's last answer (why it refused, the seconds to wait), BAD when it gave none.
    const GUARD_ANSWER& LastAnswer() const { return m_last; }

private:
    bool Send(GUARD_REQUEST request);

    IGuardTransport& m_transport;
    BYTES m_token;
    GUARD_ANSWER m_last;
};
