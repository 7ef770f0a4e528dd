// use.sta: 220-byte records back to back, no header. The save time is kept as an unsigned 32-bit
// count of seconds, which every signed value up to 2038 reads the same and which lasts to 2106.
#include "store/UsageStore.h"

#include <algorithm>
#include <cstdint>

#include "store/DayPrj.h"
#include "store/RecordFile.h"
#include "store/RecordReader.h"
#include "store/RecordWriter.h"

namespace {

constexpr std::size_t NAME_SIZE = 128;

USAGE_RECORD ReadRecord(const BYTES& bytes, std::size_t nOffset) {
    CRecordReader reader(bytes, nOffset, nOffset + CUsageStore::RECORD_SIZE);
    USAGE_RECORD record;
    record.strUser = reader.ReadText(NAME_SIZE);
    reader.ReadInt32(record.nUsedSecs);
    reader.ReadInt32(record.nTotalSecsLeft);
    reader.ReadInt32(record.nUseSecsBeforeRest);
    reader.ReadInt32(record.nRestSecsLeft);
    std::int32_t nSaved = 0;
    reader.ReadInt32(nSaved);
    record.tLastSave = static_cast<TIMESECS>(static_cast<std::uint32_t>(nSaved));
    CDayPrj day;  // the tag is not kept, only the thirteen fields
    day.ReadRecord(reader);
    record.prjCopy = day;
    reader.ReadInt32(record.nStateId);
    reader.ReadInt32(record.bShowMini);
    reader.ReadInt32(record.nMiniX);
    reader.ReadInt32(record.nMiniY);
    return record;
}

void WriteRecord(CRecordWriter& writer, const USAGE_RECORD& record) {
    writer.PutText(record.strUser, NAME_SIZE);
    writer.PutInt32(record.nUsedSecs);
    writer.PutInt32(record.nTotalSecsLeft);
    writer.PutInt32(record.nUseSecsBeforeRest);
    writer.PutInt32(record.nRestSecsLeft);
    writer.PutUInt32(static_cast<std::uint32_t>(std::clamp<TIMESECS>(record.tLastSave, 0, UINT32_MAX)));
    record.prjCopy.WriteRecord(writer);
    writer.PutInt32(record.nStateId);
    writer.PutInt32(record.bShowMini);
    writer.PutInt32(record.nMiniX);
    writer.PutInt32(record.nMiniY);
}

}  // namespace

bool CUsageStore::Load() {
    std::list<USAGE_RECORD> list;
    const bool bRead = CRecordFile::Load(FILE_NAME, RECORD_SIZE, [&list](const BYTES& bytes, std::size_t nOffset) {
        list.push_back(ReadRecord(bytes, nOffset));
    });
    if (bRead) m_list = std::move(list);
    return bRead;
}

bool CUsageStore::Save() const {
    CRecordWriter writer;
    for (const USAGE_RECORD& record : m_list) WriteRecord(writer, record);
    return CRecordFile::Save(FILE_NAME, writer.Bytes());
}

bool CUsageStore::Exists(const std::string& strUser) const {
    return std::any_of(m_list.begin(), m_list.end(),
                       [&strUser](const USAGE_RECORD& record) { return record.strUser == strUser; });
}

USAGE_RECORD* CUsageStore::Find(const std::string& strUser) {
    auto it = std::find_if(m_list.begin(), m_list.end(),
                           [&strUser](const USAGE_RECORD& record) { return record.strUser == strUser; });
    return it == m_list.end() ? nullptr : &*it;
}

void CUsageStore::Add(const USAGE_RECORD& record) { m_list.push_back(record); }

void CUsageStore::Remove(const std::string& strUser) {
    auto it = std::find_if(m_list.begin(), m_list.end(),
                           [&strUser](const USAGE_RECORD& record) { return record.strUser == strUser; });
    if (it != m_list.end()) m_list.erase(it);
}
