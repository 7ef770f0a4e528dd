// protect.nam: the parent's choices of protected Windows accounts.
#include "core/store/ProtectedAccounts.h"

#include <algorithm>

#include "core/store/DataFile.h"
#include "core/store/RecordReader.h"
#include "core/store/RecordWriter.h"

namespace {

// The name as the field keeps it, in lower case (ASCII), for Windows' comparison of account names.
std::string Key(const std::string& strAccount) {
    std::string strKey = FieldText(strAccount, CProtectedAccounts::kNameSize);
    for (char& c : strKey)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return strKey;
}

}  // namespace

bool CProtectedAccounts::Load() {
    std::list<PROTECT_RECORD> list;
    const bool bRead = CDataFile::Load(kFileName, kRecordSize, [&](const BYTES& bytes, std::size_t nOffset) {
        CRecordReader reader(bytes, nOffset, nOffset + kRecordSize);
        PROTECT_RECORD record;
        record.strAccount = reader.ReadText(kNameSize);
        reader.ReadInt32(record.bProtect);
        list.push_back(record);
    });
    if (bRead) m_list.swap(list);
    return bRead;
}

bool CProtectedAccounts::Save() const {
    CRecordWriter writer;
    for (const PROTECT_RECORD& record : m_list) {
        writer.PutText(record.strAccount, kNameSize);
        writer.PutInt32(record.bProtect);
    }
    return CDataFile::Save(kFileName, writer.Bytes());
}

bool CProtectedAccounts::IsProtected(const std::string& strAccount, bool bAdministrator) const {
    const std::string strKey = Key(strAccount);
    for (const PROTECT_RECORD& record : m_list)
        if (Key(record.strAccount) == strKey) return record.bProtect != 0;
    return !bAdministrator;
}

void CProtectedAccounts::Set(const std::string& strAccount, bool bProtect) {
    Clear(strAccount);
    m_list.push_back(PROTECT_RECORD{strAccount, bProtect ? 1 : 0});
}

std::vector<ACCOUNT_ROW> CProtectedAccounts::Rows(const std::vector<ACCOUNT_ROW>& machine) const {
    std::vector<ACCOUNT_ROW> rows;
    for (ACCOUNT_ROW row : machine) {
        row.bProtected = IsProtected(row.strAccount, row.bAdministrator);
        rows.push_back(row);
    }
    for (const PROTECT_RECORD& record : m_list) {
        const bool bListed = std::any_of(rows.begin(), rows.end(), [&record](const ACCOUNT_ROW& row) {
            return Key(row.strAccount) == Key(record.strAccount);
        });
        if (!bListed) rows.push_back(ACCOUNT_ROW{record.strAccount, false, record.bProtect != 0});
    }
    return rows;
}

void CProtectedAccounts::Take(const std::vector<ACCOUNT_ROW>& rows) {
    for (const ACCOUNT_ROW& row : rows) {
        if (row.bProtected == !row.bAdministrator)
            Clear(row.strAccount);
        else
            Set(row.strAccount, row.bProtected);
    }
}

void CProtectedAccounts::Clear(const std::string& strAccount) {
    const std::string strKey = Key(strAccount);
    m_list.remove_if([&strKey](const PROTECT_RECORD& record) { return Key(record.strAccount) == strKey; });
}
