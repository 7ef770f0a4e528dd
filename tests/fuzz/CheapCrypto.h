// A stand-in for the password hashing of the fuzz targets: a key derivation that costs nothing,
// so that every input reaches the parser and the save instead of 100,000 rounds of HMAC. It is
// deterministic (the same password, salt and count give the same key) and refuses what the real
// one refuses (no rounds), so the fields it writes behave like real ones. Installed for the life
// of the object.
#pragma once

#include <climits>
#include <cstdint>

#include "core/seams/Crypto.h"

namespace fuzz {

class CCheapCrypto final : public ICrypto {
public:
    CCheapCrypto() { CCrypto::Use(this); }
    ~CCheapCrypto() override { CCrypto::Use(nullptr); }
    CCheapCrypto(const CCheapCrypto&) = delete;
    CCheapCrypto& operator=(const CCheapCrypto&) = delete;

    bool DerivePbkdf2Sha256(const std::string& strPassword, const std::uint8_t* pSalt, std::size_t nSalt,
                            std::uint32_t nIterations, std::uint8_t* pKey, std::size_t nKey) override {
        if (nIterations == 0 || nIterations > INT_MAX) return false;
        // FNV-1a over the password, the salt and the count, then spread over the key.
        std::uint64_t nHash = 14695981039346656037ULL;
        auto Mix = [&nHash](std::uint8_t b) { nHash = (nHash ^ b) * 1099511628211ULL; };
        for (char c : strPassword) Mix(static_cast<std::uint8_t>(c));
        for (std::size_t n = 0; n < nSalt; ++n) Mix(pSalt[n]);
        for (int nShift = 0; nShift < 32; nShift += 8) Mix(static_cast<std::uint8_t>(nIterations >> nShift));
        for (std::size_t n = 0; n < nKey; ++n) {
            Mix(static_cast<std::uint8_t>(n));
            pKey[n] = static_cast<std::uint8_t>(nHash >> 56);
        }
        return true;
    }
    // Salts from a counter: different from field to field, the same from run to run.
    bool RandomBytes(std::uint8_t* pBuffer, std::size_t nSize) override {
        for (std::size_t n = 0; n < nSize; ++n) pBuffer[n] = static_cast<std::uint8_t>(m_nNext++ * 167 + 13);
        return true;
    }

private:
    std::uint32_t m_nNext = 0;
};

}  // namespace fuzz
