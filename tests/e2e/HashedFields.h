// Checks of the account files' password fields, whose salts are random: the fields are compared
// on their own, the rest of the records byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/seams/Files.h"
#include "core/store/PasswordField.h"

// The records with their 32-byte password fields (at 128 in records of nRecordSize) zeroed:
// salts are random, so the fields are checked on their own.
inline BYTES WithoutPasswords(BYTES bytes, std::size_t nRecordSize) {
    for (std::size_t nAt = 128; nAt + 32 <= bytes.size(); nAt += nRecordSize) std::fill_n(bytes.begin() + nAt, 32, 0);
    return bytes;
}

// The field at nAt holds the password hashed, and not its text.
inline ::testing::AssertionResult HoldsHashed(const BYTES& bytes, std::size_t nAt, const std::string& strPassword) {
    if (bytes.size() < nAt + 32) return ::testing::AssertionFailure() << "the file is too short";
    const std::string strField(bytes.begin() + nAt, bytes.begin() + nAt + 32);
    if (bytes[nAt] != 0x01) return ::testing::AssertionFailure() << "not marked as hashed";
    if (!strPassword.empty() && strField.find(strPassword) != std::string::npos)
        return ::testing::AssertionFailure() << "the password text is readable";
    if (!CPasswordField::Matches(bytes.data() + nAt, strPassword))
        return ::testing::AssertionFailure() << "the hash is not of \"" << strPassword << "\"";
    return ::testing::AssertionSuccess();
}
