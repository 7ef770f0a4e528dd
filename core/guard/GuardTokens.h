// The Administrator's proof for the guard: a random token handed out after the password was
// checked, good for the process that asked and only until the Administrator logs out or
// kLifetimeMs of the running clock have passed (nobody can turn that clock).
#pragma once

#include <cstdint>
#include <list>

#include "core/seams/Files.h"

class CGuardTokens {
public:
    static constexpr std::int64_t kLifetimeMs = 30 * 60 * 1000;

    // A new token for the process; false when no random bytes could be had.
    bool Issue(unsigned long nPid, BYTES& token);
    // Whether the token is one handed out to this process that has not ended or run out.
    bool IsValid(const BYTES& token, unsigned long nPid) const;
    void End(const BYTES& token);
    // Ends every token of a process that is gone.
    void EndForProcess(unsigned long nPid);
    // Whether any token is good now: the Administrator is logged in somewhere.
    bool AnyValid() const;

private:
    struct ISSUED {
        BYTES token;
        unsigned long nPid;
        std::int64_t nIssuedMs;
    };
    bool IsCurrent(const ISSUED& issued) const;
    std::list<ISSUED> m_issued;
};
