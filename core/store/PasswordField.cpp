// Hashed passwords in the account records' 32-byte fields.
#include "core/store/PasswordField.h"

#include <cstring>

#include "core/seams/Crypto.h"
#include "core/store/RecordField.h"

namespace {

constexpr std::size_t kSaltOffset = 2;
constexpr std::size_t kKeyOffset = kSaltOffset + CPasswordField::kSaltSize;
static_assert(kKeyOffset + CPasswordField::kKeySize == CPasswordField::kSize, "the hashed form fills the field");

// The typed text as the field would keep it, zero-padded to the field's width, so that a plain
// field is compared over all its bytes whatever the lengths.
void PlainImage(const std::string& strText, std::uint8_t (&image)[CPasswordField::kSize]) {
    std::memset(image, 0, sizeof image);
    const std::string strKept = FieldText(strText, CPasswordField::kSize);
    std::memcpy(image, strKept.data(), strKept.size());
}

}  // namespace

bool CPasswordField::Store(const std::string& strPassword, void* pField) {
    std::uint8_t field[kSize];
    field[0] = kMarker;
    field[1] = kVersion;
    if (!CCrypto::RandomBytes(field + kSaltOffset, kSaltSize)) return false;
    if (!CCrypto::DerivePbkdf2Sha256(FieldText(strPassword, kSize), field + kSaltOffset, kSaltSize, kIterations, field + kKeyOffset,
                                     kKeySize))
        return false;
    std::memcpy(pField, field, kSize);
    return true;
}

bool CPasswordField::IsHashed(const void* pField) { return static_cast<const std::uint8_t*>(pField)[0] == kMarker; }

bool CPasswordField::IsHeld(const void* pField) { return static_cast<const std::uint8_t*>(pField)[0] == kHeldMarker; }

void CPasswordField::Hold(void* pField) {
    std::memset(pField, 0, kSize);
    static_cast<std::uint8_t*>(pField)[0] = kHeldMarker;
}

bool CPasswordField::Matches(const void* pField, const std::string& strTyped) {
    const auto* pBytes = static_cast<const std::uint8_t*>(pField);
    if (IsHeld(pField)) return false;
    if (!IsHashed(pField)) {
        std::uint8_t stored[kSize];
        std::uint8_t typed[kSize];
        PlainImage(ReadField(pField, kSize), stored);
        PlainImage(strTyped, typed);
        return EqualInConstantTime(stored, typed, kSize);
    }
    if (pBytes[1] != kVersion) return false;
    std::uint8_t key[kKeySize];
    if (!CCrypto::DerivePbkdf2Sha256(FieldText(strTyped, kSize), pBytes + kSaltOffset, kSaltSize, kIterations, key, kKeySize))
        return false;
    return EqualInConstantTime(key, pBytes + kKeyOffset, kKeySize);
}

bool CPasswordField::Upgrade(void* pField) {
    if (IsHashed(pField) || IsHeld(pField)) return true;
    return Store(ReadField(pField, kSize), pField);
}

bool CPasswordField::EqualInConstantTime(const std::uint8_t* pA, const std::uint8_t* pB, std::size_t nSize) {
    // Every byte is looked at; volatile keeps the compiler from ending the loop early.
    volatile std::uint8_t nDiffer = 0;
    for (std::size_t n = 0; n < nSize; ++n) nDiffer = nDiffer | (pA[n] ^ pB[n]);
    return nDiffer == 0;
}
