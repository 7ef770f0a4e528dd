// The active-user list, read from and written to userinfo.aur.
#include "core/store/ActiveUserList.h"

#include "core/store/DataFile.h"
#include "core/store/RecordReader.h"
#include "core/store/RecordWriter.h"

bool CActiveUserList::Load() {
    std::list<std::string> names;
    const bool bRead = CDataFile::Load(kFileName, kRecordSize, [&](const BYTES& bytes, std::size_t nOffset) {
        names.push_back(CRecordReader(bytes, nOffset, nOffset + kRecordSize).ReadText(kRecordSize));
    });
    if (bRead) m_names.swap(names);
    return bRead;
}

bool CActiveUserList::Save() const {
    CRecordWriter writer;
    for (const std::string& strName : m_names) writer.PutText(strName, kRecordSize);
    return CDataFile::Save(kFileName, writer.Bytes());
}

CActiveUserList::POSITION CActiveUserList::Find(const std::string& strName) const {
    const std::string strStored = FieldText(strName, kRecordSize);
    for (const std::string& strEntry : m_names)
        if (FieldText(strEntry, kRecordSize) == strStored) return &strEntry;
    return nullptr;
}

void CActiveUserList::Add(const std::string& strName) { m_names.push_back(strName); }

void CActiveUserList::Remove(POSITION pos) {
    for (auto it = m_names.begin(); it != m_names.end(); ++it) {
        if (&*it == pos) {
            m_names.erase(it);
            return;
        }
    }
}
