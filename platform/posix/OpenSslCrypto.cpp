// The cryptographic services of the native build, from OpenSSL.
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <climits>

#include "core/seams/Crypto.h"

bool CSystemCrypto::DerivePbkdf2Sha256(const std::string& strPassword, const std::uint8_t* pSalt, std::size_t nSalt,
                                       std::uint32_t nIterations, std::uint8_t* pKey, std::size_t nKey) {
    if (strPassword.size() > INT_MAX || nSalt > INT_MAX || nKey > INT_MAX || nIterations == 0 ||
        nIterations > INT_MAX)
        return false;
    return PKCS5_PBKDF2_HMAC(strPassword.data(), static_cast<int>(strPassword.size()), pSalt, static_cast<int>(nSalt),
                             static_cast<int>(nIterations), EVP_sha256(), static_cast<int>(nKey), pKey) == 1;
}

bool CSystemCrypto::RandomBytes(std::uint8_t* pBuffer, std::size_t nSize) {
    return nSize <= INT_MAX && RAND_bytes(pBuffer, static_cast<int>(nSize)) == 1;
}
