// The program's way to the guard: one connection per request over the guard's named pipe. It
// sends nothing to a pipe whose server it does not trust (see CPipeTrust), and waits for the
// guard's answer only so long.
#pragma once

#include <string>

#include "companion/guard/PipeTrust.h"
#include "core/guard/GuardClient.h"

class CPipeTransport final : public IGuardTransport {
public:
    static constexpr DWORD kTimeoutMs = 10000;

    CPipeTransport(std::string strName, CPipeTrust& trust) : m_strName(std::move(strName)), m_trust(trust) {}

    bool Exchange(const BYTES& request, BYTES& answer) override;
    // Whether the last exchange stopped at a pipe it did not trust.
    bool MetStranger() const { return m_bStranger; }

private:
    HANDLE Open();

    std::string m_strName;
    CPipeTrust& m_trust;
    bool m_bStranger = false;
};
