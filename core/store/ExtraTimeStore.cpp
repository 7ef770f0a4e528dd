// The extra-time records, read from and written to extra.tim (with its second copy, as the other
// data files).
#include "core/store/ExtraTimeStore.h"

#include "core/store/DataFile.h"
#include "core/store/RecordReader.h"
#include "core/store/RecordWriter.h"

namespace {

EXTRA_RECORD ReadRecord(const BYTES& bytes, std::size_t nOffset) {
    CRecordReader reader(bytes, nOffset, nOffset + CExtraTimeStore::kRecordSize);
    EXTRA_RECORD record;
    record.strUser = reader.ReadText(CExtraTimeStore::kNameSize);
    reader.ReadInt32(record.nDate);
    reader.ReadInt32(record.nGrantedSecs);
    reader.ReadInt32(record.nExtraSecsLeft);
    reader.ReadInt32(record.nLocks);
    return record;
}

}  // namespace

bool CExtraTimeStore::Load() {
    std::list<EXTRA_RECORD> records;
    const bool bRead = CDataFile::Load(kFileName, kRecordSize, [&](const BYTES& bytes, std::size_t nOffset) {
        records.push_back(ReadRecord(bytes, nOffset));
    });
    if (bRead) m_list.swap(records);
    return bRead;
}

std::list<EXTRA_RECORD> CExtraTimeStore::Parse(const BYTES& bytes) {
    std::list<EXTRA_RECORD> records;
    for (std::size_t nOffset = 0; nOffset + kRecordSize <= bytes.size(); nOffset += kRecordSize)
        records.push_back(ReadRecord(bytes, nOffset));
    return records;
}

bool CExtraTimeStore::Save() const {
    CRecordWriter writer;
    for (const EXTRA_RECORD& record : m_list) {
        writer.PutText(record.strUser, kNameSize);
        writer.PutInt32(record.nDate);
        writer.PutInt32(record.nGrantedSecs);
        writer.PutInt32(record.nExtraSecsLeft);
        writer.PutInt32(record.nLocks);
    }
    return CDataFile::Save(kFileName, writer.Bytes());
}

const EXTRA_RECORD* CExtraTimeStore::Find(const std::string& strUser) const {
    const std::string strStored = FieldText(strUser, kNameSize);
    for (const EXTRA_RECORD& record : m_list)
        if (FieldText(record.strUser, kNameSize) == strStored) return &record;
    return nullptr;
}

bool CExtraTimeStore::Grant(const std::string& strUser, std::int32_t nDate, std::int32_t nSeconds) {
    Load();
    EXTRA_RECORD& record = ForDate(strUser, nDate);
    record.nGrantedSecs += nSeconds;
    record.nExtraSecsLeft += nSeconds;
    return Save();
}

EXTRA_RECORD& CExtraTimeStore::ForDate(const std::string& strUser, std::int32_t nDate) {
    auto* pRecord = const_cast<EXTRA_RECORD*>(Find(strUser));
    if (!pRecord) {
        m_list.push_back(EXTRA_RECORD{strUser});
        pRecord = &m_list.back();
    }
    if (pRecord->nDate != nDate) *pRecord = EXTRA_RECORD{pRecord->strUser, nDate};
    return *pRecord;
}
