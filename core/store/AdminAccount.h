// The Administrator account and the program-wide options, kept in parent.nam (one 200-byte record).
#pragma once

#include <cstdint>
#include <string>

// The Administrator record; the same image in parent.nam (little-endian).
struct ADMIN_ACCOUNT {
    char szName[128];               // always "Administrator", 0xCC after the terminator
    char szPassword[32];            // hashed (CPasswordField); plain text from earlier versions
    std::uint8_t reserved1[16];     // carried unchanged
    std::int32_t bHasPassword;      // 1 once a password was set; the login does not read it
    std::int32_t bAutoRun;          // 1 = start with Windows
    std::int32_t bFirstRunPending;  // 1 until the first-run password dialog is completed
    std::uint8_t reserved2[8];      // carried unchanged
    std::int32_t nLockBackground;   // 1 = opaque lock screen, 2 = semi-transparent
};
static_assert(sizeof(ADMIN_ACCOUNT) == 200, "parent.nam holds one 200-byte record");

class CAdminAccount {
public:
    static constexpr const char* kFileName = "parent.nam";
    static constexpr const char* kName = "Administrator";

    CAdminAccount() { SetDefaults(); }
    virtual ~CAdminAccount() = default;

    // Reads parent.nam; FALSE (record unchanged) when it is missing or shorter than one record.
    bool Load();
    // Replaces parent.nam with the record; FALSE (old file whole) on failure. A password field
    // still in plain text is hashed first, so no save writes a readable password.
    bool Save();
    // The record of a first run: no password, no auto-run, first-run dialog pending, semi-transparent.
    void SetDefaults();
    // Whether a typed password is the Administrator's (an old record without a password is
    // matched by an empty entry). Every check of it goes through here; with a guard it is the
    // guard's check, and a right password lets the Administrator's writes through it.
    bool AcceptsPassword(const std::string& strTyped) const;
    // The Administrator's proof, which a right password gave the guard's writes, ends (after an
    // action on the spot, such as a grant of extra time). Nothing to end without a guard.
    void EndProof() const;
    // A damaged record accepts no password and is never saved; its first run is not pending, so
    // that nobody can choose a new Administrator password. Set by the account load.
    void SetDamaged(bool bDamaged);
    bool IsDamaged() const { return m_bDamaged; }
    // Stores the password hashed and marks the record as having one; false (record unchanged)
    // when it could not be hashed.
    bool SetPassword(const std::string& strPassword);

    // Read and written directly by the dialogs; text fields are set with CopyToField.
    ADMIN_ACCOUNT m_admin;

private:
    bool m_bDamaged = false;
};
