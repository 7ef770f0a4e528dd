// Tokens handed out, checked and ended.
#include "core/guard/GuardTokens.h"

#include <algorithm>

#include "core/guard/GuardMessage.h"
#include "core/seams/Clock.h"
#include "core/seams/Crypto.h"
#include "core/store/PasswordField.h"

bool CGuardTokens::Issue(unsigned long nPid, BYTES& token) {
    BYTES fresh(CGuardMessage::kTokenSize);
    if (!CCrypto::RandomBytes(fresh.data(), fresh.size())) return false;
    // Expired tokens are dropped here, so the list never grows beyond the logins of half an hour.
    m_issued.remove_if([this](const ISSUED& issued) { return !IsCurrent(issued); });
    m_issued.push_back(ISSUED{fresh, nPid, CClock::RunningMs()});
    token = std::move(fresh);
    return true;
}

bool CGuardTokens::IsCurrent(const ISSUED& issued) const {
    const std::int64_t nAge = CClock::RunningMs() - issued.nIssuedMs;
    return nAge >= 0 && nAge < kLifetimeMs;
}

bool CGuardTokens::IsValid(const BYTES& token, unsigned long nPid) const {
    if (token.size() != CGuardMessage::kTokenSize) return false;
    bool bValid = false;
    // Every token is compared in full, so the time taken tells nothing about a near miss.
    for (const ISSUED& issued : m_issued)
        if (CPasswordField::EqualInConstantTime(issued.token.data(), token.data(), token.size()) && issued.nPid == nPid &&
            IsCurrent(issued))
            bValid = true;
    return bValid;
}

void CGuardTokens::End(const BYTES& token) {
    m_issued.remove_if([&token](const ISSUED& issued) { return issued.token == token; });
}

void CGuardTokens::EndForProcess(unsigned long nPid) {
    m_issued.remove_if([nPid](const ISSUED& issued) { return issued.nPid == nPid; });
}

bool CGuardTokens::AnyValid() const {
    return std::any_of(m_issued.begin(), m_issued.end(), [this](const ISSUED& issued) { return IsCurrent(issued); });
}
