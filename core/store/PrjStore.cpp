// Reading and writing prj.nam: 520-byte user blocks, back to back, no header.
#include "core/store/PrjStore.h"

#include <algorithm>

#include "core/store/DataFile.h"
#include "core/store/RecordReader.h"
#include "core/store/RecordWriter.h"

bool CPrjStore::Load() {
    BYTES bytes;
    if (!CDataFile::Read(FILE_NAME, CUserPrj::BLOCK_SIZE, bytes)) return false;
    m_list = Parse(bytes);
    return true;
}

std::list<CUserPrj> CPrjStore::Parse(const BYTES& bytes) {
    std::list<CUserPrj> list;
    CRecordReader reader(bytes);
    while (!reader.AtEnd()) {
        CUserPrj user(reader.ReadText(CUserPrj::NAME_SIZE));
        // Days past the end of a short file keep their defaults.
        for (CDayPrj& day : user.m_days)
            if (day.ReadRecord(reader) == 0) break;
        list.push_back(std::move(user));
    }
    return list;
}

BYTES CPrjStore::Image(const std::list<CUserPrj>& list) {
    CRecordWriter writer;
    for (const CUserPrj& user : list) {
        writer.PutText(user.m_strUser, CUserPrj::NAME_SIZE);
        for (const CDayPrj& day : user.m_days) day.WriteRecord(writer);
    }
    return writer.Bytes();
}

bool CPrjStore::Save() const { return CDataFile::Save(FILE_NAME, Image(m_list)); }

CUserPrj* CPrjStore::Find(const std::string& strUser) {
    auto it = std::find_if(m_list.begin(), m_list.end(),
                           [&strUser](const CUserPrj& user) { return user.m_strUser == strUser; });
    return it == m_list.end() ? nullptr : &*it;
}

const CUserPrj* CPrjStore::Find(const std::string& strUser) const {
    return const_cast<CPrjStore*>(this)->Find(strUser);
}

void CPrjStore::Add(const CUserPrj& user) { m_list.push_back(user); }

void CPrjStore::Remove(const std::string& strUser) {
    auto it = std::find_if(m_list.begin(), m_list.end(),
                           [&strUser](const CUserPrj& user) { return user.m_strUser == strUser; });
    if (it != m_list.end()) m_list.erase(it);
}
