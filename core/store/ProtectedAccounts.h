// Which Windows accounts the installed program's guard keeps Quenby running in, kept in protect.nam
// (132 bytes an account): the parent's choices for single accounts; every other account follows
// the rule that it is protected unless it is a Windows administrator's. Windows compares account
// names without regard to case, and so does this list.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <vector>

// An account as the options show it.
struct ACCOUNT_ROW {
    std::string strAccount;
    bool bAdministrator = false;  // a Windows administrator's account
    bool bProtected = false;
    bool operator==(const ACCOUNT_ROW&) const = default;
};

struct PROTECT_RECORD {
    std::string strAccount;     // 128-byte name field (the field rule)
    std::int32_t bProtect = 1;  // 1: Quenby runs in the account's sessions; 0: it does not
    bool operator==(const PROTECT_RECORD&) const = default;
};

class CProtectedAccounts {
public:
    static constexpr const char* kFileName = "protect.nam";
    static constexpr std::size_t kNameSize = 128;
    static constexpr std::size_t kRecordSize = kNameSize + 4;

    // Reads protect.nam; false (list untouched) when it is missing or empty.
    bool Load();
    // Replaces protect.nam with the list; false (old file whole) on failure.
    bool Save() const;

    // Whether the account's sessions are protected: the parent's choice for it, else the rule.
    bool IsProtected(const std::string& strAccount, bool bAdministrator) const;
    // The parent's choice for an account (replacing an earlier one).
    void Set(const std::string& strAccount, bool bProtect);
    // Back to the rule for the account.
    void Clear(const std::string& strAccount);

    // The rows the options show: the machine's accounts, then those only the list names (an
    // account removed from Windows since), each ticked as it is protected now.
    std::vector<ACCOUNT_ROW> Rows(const std::vector<ACCOUNT_ROW>& machine) const;
    // Takes the options' ticks: an account ticked as the rule has it needs no choice of its own.
    void Take(const std::vector<ACCOUNT_ROW>& rows);

    const std::list<PROTECT_RECORD>& GetList() const { return m_list; }

private:
    std::list<PROTECT_RECORD> m_list;
};
