// The child accounts, read from and written to child.nam.
#include "core/store/ChildAccountList.h"

#include <cstring>
#include <iterator>

#include "core/store/DataFile.h"
#include "core/store/PasswordField.h"
#include "core/store/RecordReader.h"
#include "core/store/RecordWriter.h"

namespace {

CHILD_ACCOUNT NewAccount(const std::string& strName) {
    CHILD_ACCOUNT account;
    CopyToField(strName, account.szName, sizeof account.szName);
    CopyToField(std::string(), account.szPassword, sizeof account.szPassword);
    account.bHasPassword = 0;
    account.nNoticeSeconds = 30;
    account.bAlertSound = 1;
    return account;
}

}  // namespace

bool CChildAccountList::Load() {
    std::list<CHILD_ACCOUNT> accounts;
    const bool bRead = CDataFile::Load(kFileName, kRecordSize, [&](const BYTES& bytes, std::size_t nOffset) {
        CRecordReader reader(bytes, nOffset, nOffset + kRecordSize);
        CHILD_ACCOUNT& account = accounts.emplace_back();
        // The text fields are carried byte for byte, filler included.
        reader.ReadBytes(account.szName, sizeof account.szName);
        reader.ReadBytes(account.szPassword, sizeof account.szPassword);
        reader.ReadInt32(account.bHasPassword);
        reader.ReadInt32(account.nNoticeSeconds);
        reader.ReadInt32(account.bAlertSound);
    });
    if (bRead) m_accounts.swap(accounts);
    return bRead;
}

bool CChildAccountList::Save() {
    for (CHILD_ACCOUNT& account : m_accounts)
        if (!CPasswordField::Upgrade(account.szPassword)) return false;
    CRecordWriter writer;
    for (const CHILD_ACCOUNT& account : m_accounts) {
        writer.PutBytes(account.szName, sizeof account.szName);
        writer.PutBytes(account.szPassword, sizeof account.szPassword);
        writer.PutInt32(account.bHasPassword);
        writer.PutInt32(account.nNoticeSeconds);
        writer.PutInt32(account.bAlertSound);
    }
    return CDataFile::Save(kFileName, writer.Bytes());
}

CHILD_ACCOUNT* CChildAccountList::Find(const std::string& strName) {
    const std::string strStored = FieldText(strName, sizeof(CHILD_ACCOUNT::szName));
    for (CHILD_ACCOUNT& account : m_accounts)
        if (ReadField(account.szName, sizeof account.szName) == strStored) return &account;
    return nullptr;
}

const CHILD_ACCOUNT* CChildAccountList::Find(const std::string& strName) const {
    return const_cast<CChildAccountList*>(this)->Find(strName);
}

bool CChildAccountList::Exists(const std::string& strName) const { return Find(strName) != nullptr; }

void CChildAccountList::Add(const std::string& strName) { m_accounts.push_back(NewAccount(strName)); }

bool CChildAccountList::Add(const std::string& strName, const std::string& strPassword) {
    CHILD_ACCOUNT account = NewAccount(strName);
    if (!CPasswordField::Store(strPassword, account.szPassword)) return false;
    account.bHasPassword = 1;
    m_accounts.push_back(account);
    return true;
}

void CChildAccountList::Remove(const std::string& strName) {
    const CHILD_ACCOUNT* pAccount = Find(strName);
    for (auto it = m_accounts.begin(); it != m_accounts.end(); ++it) {
        if (&*it == pAccount) {
            m_accounts.erase(it);
            return;
        }
    }
}

bool CChildAccountList::SetPassword(const std::string& strName, const std::string& strPassword) {
    CHILD_ACCOUNT* pAccount = Find(strName);
    if (!pAccount || !CPasswordField::Store(strPassword, pAccount->szPassword)) return false;
    pAccount->bHasPassword = 1;
    return true;
}

int CChildAccountList::GetCount() const { return static_cast<int>(m_accounts.size()); }

std::string CChildAccountList::GetName(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) return std::string();
    const CHILD_ACCOUNT& account = *std::next(m_accounts.begin(), nIndex);
    return ReadField(account.szName, sizeof account.szName);
}

int CChildAccountList::HasPassword(const std::string& strName) const {
    const CHILD_ACCOUNT* pAccount = Find(strName);
    return pAccount ? pAccount->bHasPassword : 0;
}

bool CChildAccountList::AcceptsPassword(const std::string& strName, const std::string& strTyped) const {
    const CHILD_ACCOUNT* pAccount = Find(strName);
    if (!pAccount) return false;
    if (!pAccount->bHasPassword) return strTyped.empty();
    return CPasswordField::Matches(pAccount->szPassword, strTyped);
}

int CChildAccountList::GetNoticeSeconds(const std::string& strName) const {
    const CHILD_ACCOUNT* pAccount = Find(strName);
    return pAccount ? pAccount->nNoticeSeconds : 0;
}

void CChildAccountList::SetNoticeSeconds(const std::string& strName, int nSeconds) {
    if (CHILD_ACCOUNT* pAccount = Find(strName)) pAccount->nNoticeSeconds = nSeconds;
}

int CChildAccountList::GetAlertSound(const std::string& strName) const {
    const CHILD_ACCOUNT* pAccount = Find(strName);
    return pAccount ? pAccount->bAlertSound : 0;
}

void CChildAccountList::SetAlertSound(const std::string& strName, int bAlertSound) {
    if (CHILD_ACCOUNT* pAccount = Find(strName)) pAccount->bAlertSound = bAlertSound;
}
