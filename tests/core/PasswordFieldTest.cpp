// The hashed password field: the key derivation against published vectors, the field's form,
// plain fields of earlier versions, and the growing wait after wrong passwords.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "core/rules/LoginThrottle.h"
#include "core/seams/Crypto.h"
#include "core/store/PasswordField.h"
#include "core/store/RecordField.h"
#include "support/Pbkdf2Vectors.h"

TEST(Crypto, Pbkdf2HmacSha256GivesThePublishedKeys) {
    for (const PBKDF2_VECTOR& vector : Pbkdf2Vectors()) {
        std::vector<std::uint8_t> key(vector.key.size());
        ASSERT_TRUE(CCrypto::DerivePbkdf2Sha256(vector.strPassword,
                                                reinterpret_cast<const std::uint8_t*>(vector.strSalt.data()),
                                                vector.strSalt.size(), vector.nIterations, key.data(), key.size()));
        EXPECT_EQ(key, vector.key) << vector.strPassword << " / " << vector.strSalt << " / " << vector.nIterations;
    }
}

TEST(PasswordField, HoldsMarkerVersionSaltAndKeyAndNeverTheText) {
    std::set<std::string> salts;
    for (int n = 0; n < 3; ++n) {
        char field[32];
        std::memset(field, 0xCC, sizeof field);
        ASSERT_TRUE(CPasswordField::Store("hunter2", field));
        EXPECT_EQ(field[0], 0x01);
        EXPECT_EQ(field[1], CPasswordField::kVersion);
        EXPECT_EQ(std::string(field, 32).find("hunter2"), std::string::npos);
        salts.insert(std::string(field + 2, 14));
        EXPECT_TRUE(CPasswordField::Matches(field, "hunter2"));
        for (const char* pszWrong : {"", "hunter", "Hunter2", "hunter2 ", "hunter22"})
            EXPECT_FALSE(CPasswordField::Matches(field, pszWrong)) << pszWrong;
    }
    EXPECT_EQ(salts.size(), 3u) << "each record gets its own salt";

    // The key is the derivation of the password with the field's salt and the version's count.
    char field[32];
    ASSERT_TRUE(CPasswordField::Store("pw", field));
    std::uint8_t key[16];
    ASSERT_TRUE(CCrypto::DerivePbkdf2Sha256("pw", reinterpret_cast<const std::uint8_t*>(field + 2), 14,
                                            CPasswordField::kIterations, key, sizeof key));
    EXPECT_EQ(std::memcmp(key, field + 16, 16), 0);
}

TEST(PasswordField, APlainFieldStillLogsInAndIsUpgradedKeepingThePassword) {
    char field[32];
    CopyToField("old-secret", field, sizeof field);
    EXPECT_FALSE(CPasswordField::IsHashed(field));
    EXPECT_TRUE(CPasswordField::Matches(field, "old-secret"));
    EXPECT_FALSE(CPasswordField::Matches(field, "old-secre"));
    EXPECT_FALSE(CPasswordField::Matches(field, "old-secret!"));
    ASSERT_TRUE(CPasswordField::Upgrade(field));
    EXPECT_TRUE(CPasswordField::IsHashed(field));
    EXPECT_TRUE(CPasswordField::Matches(field, "old-secret"));
    // Upgrading a hashed field leaves it as it is.
    char again[32];
    std::memcpy(again, field, sizeof field);
    ASSERT_TRUE(CPasswordField::Upgrade(again));
    EXPECT_EQ(std::memcmp(again, field, sizeof field), 0);
}

TEST(PasswordField, AFieldOfAnUnknownVersionAcceptsNothing) {
    char field[32];
    ASSERT_TRUE(CPasswordField::Store("", field));
    field[1] = 7;
    EXPECT_FALSE(CPasswordField::Matches(field, ""));
}

TEST(PasswordField, TheComparisonLooksAtEveryByte) {
    const std::uint8_t a[4] = {1, 2, 3, 4};
    for (int nAt = 0; nAt < 4; ++nAt) {
        std::uint8_t b[4] = {1, 2, 3, 4};
        b[nAt] ^= 0x80;
        EXPECT_FALSE(CPasswordField::EqualInConstantTime(a, b, 4)) << nAt;
    }
    EXPECT_TRUE(CPasswordField::EqualInConstantTime(a, a, 4));
}

TEST(LoginThrottle, TheWaitDoublesUpToThirtySecondsAndARightPasswordEndsIt) {
    EXPECT_EQ(CLoginThrottle::WaitAfter(0), 0);
    const int expected[] = {1, 2, 4, 8, 16, 30, 30};
    for (int n = 0; n < 7; ++n) EXPECT_EQ(CLoginThrottle::WaitAfter(n + 1), expected[n]) << n + 1;
    EXPECT_EQ(CLoginThrottle::WaitAfter(1000), 30);

    CLoginThrottle throttle;
    EXPECT_EQ(throttle.SecondsLeft(1000), 0);
    throttle.OnWrong(1000);
    EXPECT_EQ(throttle.SecondsLeft(1000), 1);
    EXPECT_EQ(throttle.SecondsLeft(1001), 0);
    throttle.OnWrong(1001);
    throttle.OnWrong(1001);
    EXPECT_EQ(throttle.SecondsLeft(1002), 3) << "four seconds after the third";
    EXPECT_EQ(throttle.SecondsLeft(900), 4) << "a clock turned back waits no longer than the wait";
    throttle.OnRight();
    EXPECT_EQ(throttle.SecondsLeft(1002), 0);
}
