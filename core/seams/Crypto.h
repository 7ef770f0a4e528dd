// The two cryptographic services the stored passwords need: a key derived slowly from a
// password, and random bytes for salts. Each platform provides them (the system's own on
// Windows, OpenSSL natively); the results are the same everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class ICrypto {
public:
    virtual ~ICrypto() = default;
    // PBKDF2 with HMAC-SHA256: nKey bytes derived from the password and the salt with the given
    // number of iterations. False (key untouched or partly written) when the platform refuses.
    virtual bool DerivePbkdf2Sha256(const std::string& strPassword, const std::uint8_t* pSalt, std::size_t nSalt,
                                    std::uint32_t nIterations, std::uint8_t* pKey, std::size_t nKey) = 0;
    // Fills the buffer from the system's random number generator; false when it cannot.
    virtual bool RandomBytes(std::uint8_t* pBuffer, std::size_t nSize) = 0;
};

class CCrypto {
public:
    static bool DerivePbkdf2Sha256(const std::string& strPassword, const std::uint8_t* pSalt, std::size_t nSalt,
                                   std::uint32_t nIterations, std::uint8_t* pKey, std::size_t nKey) {
        return Get().DerivePbkdf2Sha256(strPassword, pSalt, nSalt, nIterations, pKey, nKey);
    }
    static bool RandomBytes(std::uint8_t* pBuffer, std::size_t nSize) { return Get().RandomBytes(pBuffer, nSize); }

    static ICrypto& Get();
    // Replaces the services (nullptr: the platform's again). Only the fuzz targets call it, to
    // read and write password fields without paying for a real key derivation at every input.
    static void Use(ICrypto* pCrypto);
};

// The platform's services: each platform defines the two members.
class CSystemCrypto final : public ICrypto {
public:
    bool DerivePbkdf2Sha256(const std::string& strPassword, const std::uint8_t* pSalt, std::size_t nSalt,
                            std::uint32_t nIterations, std::uint8_t* pKey, std::size_t nKey) override;
    bool RandomBytes(std::uint8_t* pBuffer, std::size_t nSize) override;
};
