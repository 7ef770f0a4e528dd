// The child accounts and their file child.nam: one 172-byte record per child, in list order.
#pragma once

#include <cstdint>
#include <list>
#include <string>

// One child account; the same image in child.nam (little-endian).
struct CHILD_ACCOUNT {
    char szName[128];            // zero-terminated, 0xCC after the terminator
    char szPassword[32];         // hashed (CPasswordField); plain text from earlier versions
    std::int32_t bHasPassword;   // 1 = the login asks for szPassword
    std::int32_t nNoticeSeconds; // warning lead before a lock
    std::int32_t bAlertSound;    // 1 = warn with the sound, 0 = with words
};
static_assert(sizeof(CHILD_ACCOUNT) == 172, "child.nam records are 172 bytes");

class CChildAccountList {
public:
    static constexpr std::size_t kRecordSize = sizeof(CHILD_ACCOUNT);
    static constexpr const char* kFileName = "child.nam";

    virtual ~CChildAccountList() = default;

    // Reads child.nam; FALSE (list unchanged) when it is missing or empty.
    bool Load();
    // Replaces child.nam with the list; FALSE (old file whole, list kept) on failure. Password
    // fields still in plain text are hashed first.
    bool Save();

    bool Exists(const std::string& strName) const;
    void Add(const std::string& strName);
    // Adds an account with a password (hashed); false (nothing added) when it could not be hashed.
    bool Add(const std::string& strName, const std::string& strPassword);
    void Remove(const std::string& strName);
    // Stores the password hashed and marks the account as having one (an empty one too); false
    // when there is no such account or the password could not be hashed.
    bool SetPassword(const std::string& strName, const std::string& strPassword);

    int GetCount() const;
    std::string GetName(int nIndex) const;
    int HasPassword(const std::string& strName) const;
    // Whether the typed text logs the child in: the password when the account has one, else only
    // an empty entry. No account accepts nothing.
    bool AcceptsPassword(const std::string& strName, const std::string& strTyped) const;
    int GetNoticeSeconds(const std::string& strName) const;
    void SetNoticeSeconds(const std::string& strName, int nSeconds);
    int GetAlertSound(const std::string& strName) const;
    void SetAlertSound(const std::string& strName, int bAlertSound);

private:
    // The first account with this name as it would be stored, or null.
    CHILD_ACCOUNT* Find(const std::string& strName);
    const CHILD_ACCOUNT* Find(const std::string& strName) const;

    std::list<CHILD_ACCOUNT> m_accounts;
};
