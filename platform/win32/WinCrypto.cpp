// The cryptographic services of Windows: CNG's PBKDF2 and its system-preferred random generator.
#include <windows.h>

#include <bcrypt.h>

#include <vector>

#include "core/seams/Crypto.h"

namespace {

// An algorithm provider closed when it goes out of scope.
class CAlgorithm {
public:
    CAlgorithm(LPCWSTR pszAlgorithm, ULONG nFlags) {
        if (::BCryptOpenAlgorithmProvider(&m_hAlg, pszAlgorithm, nullptr, nFlags) < 0) m_hAlg = nullptr;
    }
    ~CAlgorithm() {
        if (m_hAlg) ::BCryptCloseAlgorithmProvider(m_hAlg, 0);
    }
    CAlgorithm(const CAlgorithm&) = delete;
    CAlgorithm& operator=(const CAlgorithm&) = delete;
    BCRYPT_ALG_HANDLE Get() const { return m_hAlg; }

private:
    BCRYPT_ALG_HANDLE m_hAlg = nullptr;
};

}  // namespace

bool CSystemCrypto::DerivePbkdf2Sha256(const std::string& strPassword, const std::uint8_t* pSalt, std::size_t nSalt,
                                       std::uint32_t nIterations, std::uint8_t* pKey, std::size_t nKey) {
    if (nIterations == 0) return false;
    CAlgorithm hmac(BCRYPT_SHA256_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG);
    if (!hmac.Get()) return false;
    // The calls take non-const buffers though they only read them.
    std::vector<UCHAR> password(strPassword.begin(), strPassword.end());
    std::vector<UCHAR> salt(pSalt, pSalt + nSalt);
    return ::BCryptDeriveKeyPBKDF2(hmac.Get(), password.empty() ? nullptr : password.data(),
                                   static_cast<ULONG>(password.size()), salt.empty() ? nullptr : salt.data(),
                                   static_cast<ULONG>(salt.size()), nIterations, pKey, static_cast<ULONG>(nKey),
                                   0) >= 0;
}

bool CSystemCrypto::RandomBytes(std::uint8_t* pBuffer, std::size_t nSize) {
    return ::BCryptGenRandom(nullptr, pBuffer, static_cast<ULONG>(nSize), BCRYPT_USE_SYSTEM_PREFERRED_RNG) >= 0;
}
