// use.sta: 220-byte records back to back, no header. The save time is kept as an unsigned 32-bit
// count of seconds, which every signed value up to 2038 reads the same and which lasts to 2106.
#include "core/store/UsageStore.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "core/store/DataFile.h"
#include "core/store/DayPrj.h"
#include "core/store/RecordReader.h"
#include "core/store/RecordWriter.h"

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

// The seconds a record counts as used today: none when it was saved on another day.
std::int32_t UsedToday(const USAGE_RECORD& record, TIMESECS tNow) {
    return CClock::IsSameDate(record.tLastSave, tNow) ? record.nUsedSecs : 0;
}

// The record of the name that comes after nSkip others of the same name, or null.
USAGE_RECORD* NthOf(std::list<USAGE_RECORD>& list, const std::string& strUser, int nSkip) {
    for (USAGE_RECORD& record : list)
        if (record.strUser == strUser && nSkip-- == 0) return &record;
    return nullptr;
}

}  // namespace

std::list<USAGE_RECORD> CUsageStore::Parse(const BYTES& bytes) {
    std::list<USAGE_RECORD> list;
    for (std::size_t nOffset = 0; nOffset + RECORD_SIZE <= bytes.size(); nOffset += RECORD_SIZE)
        list.push_back(ReadRecord(bytes, nOffset));
    return list;
}

void CUsageStore::TakeMoreUse(std::list<USAGE_RECORD>& list, const std::list<USAGE_RECORD>& other, TIMESECS tNow) {
    // A name's n-th record meets the n-th record of that name, so that a second record of a name
    // (a damaged or hand-made file) never takes the place of the first, the one that counts.
    std::map<std::string, int> seen;
    for (const USAGE_RECORD& record : other) {
        USAGE_RECORD* pMine = NthOf(list, record.strUser, seen[record.strUser]++);
        if (!pMine)
            list.push_back(record);
        else if (UsedToday(record, tNow) > UsedToday(*pMine, tNow))
            *pMine = record;
    }
}

bool CUsageStore::Load() {
    BYTES file;
    BYTES copy;
    const bool bFile = CDataFile::Read(FILE_NAME, RECORD_SIZE, file);
    const bool bCopy = CDataFile::ReadCopy(FILE_NAME, copy);
    if (!bFile && !bCopy) return false;
    // The file, the copy and what this run counted may each be behind: a save that failed, a
    // file put back by hand. Of each child's records the one with the most use today wins.
    const TIMESECS tNow = CClock::Now();
    std::list<USAGE_RECORD> list = Parse(file);
    TakeMoreUse(list, Parse(copy), tNow);
    TakeMoreUse(list, m_list, tNow);
    m_list = std::move(list);
    return true;
}

bool CUsageStore::Save() const {
    CRecordWriter writer;
    for (const USAGE_RECORD& record : m_list) WriteRecord(writer, record);
    return CDataFile::Save(FILE_NAME, writer.Bytes());
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
