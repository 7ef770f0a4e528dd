// The two cryptographic services the stored passwords need: a key derived slowly from a
// password, and random bytes for salts. Each platform provides them (the system's own on
// Windows, OpenSSL natively); the results are the same everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CCrypto {
public:
    // PBKDF2 with HMAC-SHA256: nKey bytes derived from the password and the salt with the given
    // number of iterations. False (key untouched or partly written) when the platform refuses.
    static bool DerivePbkdf2Sha256(const std::string& strPassword, const std::uint8_t* pSalt, std::size_t nSalt,
                                   std::uint32_t nIterations, std::uint8_t* pKey, std::size_t nKey);
    // Fills the buffer from the system's random number generator; false when it cannot.
    static bool RandomBytes(std::uint8_t* pBuffer, std::size_t nSize);
};
