// The 32-byte password field of the account records. A password is never stored readable: the
// field holds a marker, a version, a random salt and a key derived slowly from the password
// (PBKDF2-HMAC-SHA256), so reading the file gives nothing to type at the lock screen:
//   byte 0      0x01, which no typed text begins with
//   byte 1      the version, which fixes the iteration count
//   bytes 2-15  the salt (14 random bytes)
//   bytes 16-31 the derived key (16 bytes)
// A field written by an earlier version holds the password as plain zero-terminated text; it is
// still accepted and is replaced by a hashed one at its record's next save. Passwords count as
// the plain field kept them: their first 31 bytes, up to a zero byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CPasswordField {
public:
    static constexpr std::size_t kSize = 32;
    static constexpr std::uint8_t kMarker = 0x01;
    // A field whose password only the guard keeps (the installed program): 0x02, then zeros.
    static constexpr std::uint8_t kHeldMarker = 0x02;
    static constexpr std::uint8_t kVersion = 1;
    static constexpr std::size_t kSaltSize = 14;
    static constexpr std::size_t kKeySize = 16;
    // Version 1's iterations: about 50 ms for one password on an ordinary PC (bench/).
    static constexpr std::uint32_t kIterations = 100000;

    // Writes the hashed form of the password into the field with a fresh salt. False (field
    // untouched) when no random salt or no key could be had.
    static bool Store(const std::string& strPassword, void* pField);
    // Whether the typed text is the password the field holds, hashed or plain. The comparison
    // takes the same time whichever byte differs. A hashed field of an unknown version accepts
    // nothing.
    static bool Matches(const void* pField, const std::string& strTyped);
    // Whether the field holds a hashed password (of any version).
    static bool IsHashed(const void* pField);
    // Whether the password is kept by the guard, not in this field (which then accepts nothing).
    static bool IsHeld(const void* pField);
    // Marks the field as held by the guard.
    static void Hold(void* pField);
    // Hashes a field that still holds plain text, keeping its password; true when the field is
    // hashed afterwards.
    static bool Upgrade(void* pField);

    // Equal bytes, compared without stopping at the first difference.
    static bool EqualInConstantTime(const std::uint8_t* pA, const std::uint8_t* pB, std::size_t nSize);
};
