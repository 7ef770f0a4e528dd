// use.sta: 220-byte records back to back, no header. The save time is kept as an unsigned 32-bit
// count of seconds, which every signed value up to 2038 reads the same and which lasts to 2106.
#include "store/UsageStore.h"

#include <algorithm>
#include <cstdint>

#include "store/RecordFile.h"
#include "store/RecordReader.h"
#include "store/RecordWriter.h"

namespace {

constexpr std::size_t NAME_SIZE = 128;

CUsageContext ReadRecord(const BYTES& bytes, std::size_t nOffset) {
    CRecordReader reader(bytes, nOffset, nOffset + CUsageStore::RECORD_SIZE);
    CUsageContext context(reader.ReadText(NAME_SIZE));
    reader.ReadInt32(context.m_nUsedSecs);
    reader.ReadInt32(context.m_nTotalSecsLeft);
    reader.ReadInt32(context.m_nUseSecsBeforeRest);
    reader.ReadInt32(context.m_nRestSecsLeft);
    std::int32_t nSaved = 0;
    reader.ReadInt32(nSaved);
    context.m_tLastSave = static_cast<TIMESECS>(static_cast<std::uint32_t>(nSaved));
    CDayPrj day;  // the tag is not kept, only the thirteen fields
    day.ReadRecord(reader);
    context.m_prjCopy = day;
    reader.ReadInt32(context.m_nStateId);
    reader.ReadInt32(context.m_bShowMini);
    reader.ReadInt32(context.m_nMiniX);
    reader.ReadInt32(context.m_nMiniY);
    return context;
}

void WriteRecord(CRecordWriter& writer, const CUsageContext& context) {
    writer.PutText(context.m_strUser, NAME_SIZE);
    writer.PutInt32(context.m_nUsedSecs);
    writer.PutInt32(context.m_nTotalSecsLeft);
    writer.PutInt32(context.m_nUseSecsBeforeRest);
    writer.PutInt32(context.m_nRestSecsLeft);
    writer.PutUInt32(static_cast<std::uint32_t>(std::clamp<TIMESECS>(context.m_tLastSave, 0, UINT32_MAX)));
    context.m_prjCopy.WriteRecord(writer);
    writer.PutInt32(context.m_nStateId);
    writer.PutInt32(context.m_bShowMini);
    writer.PutInt32(context.m_nMiniX);
    writer.PutInt32(context.m_nMiniY);
}

}  // namespace

bool CUsageStore::Load() {
    std::list<CUsageContext> list;
    const bool bRead = CRecordFile::Load(FILE_NAME, RECORD_SIZE, [&list](const BYTES& bytes, std::size_t nOffset) {
        list.push_back(ReadRecord(bytes, nOffset));
    });
    if (bRead) m_list = std::move(list);
    return bRead;
}

bool CUsageStore::Save() const {
    CRecordWriter writer;
    for (const CUsageContext& context : m_list) WriteRecord(writer, context);
    return CRecordFile::Save(FILE_NAME, writer.Bytes());
}

bool CUsageStore::Exists(const std::string& strUser) const {
    return std::any_of(m_list.begin(), m_list.end(),
                       [&strUser](const CUsageContext& context) { return context.m_strUser == strUser; });
}

CUsageContext* CUsageStore::Find(const std::string& strUser) {
    auto it = std::find_if(m_list.begin(), m_list.end(),
                           [&strUser](const CUsageContext& context) { return context.m_strUser == strUser; });
    return it == m_list.end() ? nullptr : &*it;
}

void CUsageStore::Add(const CUsageContext& context) {
    m_list.push_back(context);
    // Only the stored fields belong to the element; the live links stay with the context.
    m_list.back().m_pTodayPrj = nullptr;
    m_list.back().m_tSession = 0;
}

void CUsageStore::Remove(const std::string& strUser) {
    auto it = std::find_if(m_list.begin(), m_list.end(),
                           [&strUser](const CUsageContext& context) { return context.m_strUser == strUser; });
    if (it != m_list.end()) m_list.erase(it);
}
