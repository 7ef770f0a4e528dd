// programs.use: the minutes per program and day, merged so that no read gives minutes back.
#include "core/store/ProgramUseStore.h"

#include <algorithm>

#include "core/store/DataFile.h"
#include "core/store/ProgramRuleStore.h"
#include "core/store/RecordReader.h"
#include "core/store/RecordWriter.h"

namespace {

bool SameKey(const PROGRAM_USE& a, const std::string& strUser, const std::string& strProgram, std::int32_t nDate) {
    return a.nDate == nDate && SameProgramName(FieldText(a.strProgram, CProgramUseStore::kProgramSize),
                                               FieldText(strProgram, CProgramUseStore::kProgramSize)) &&
           FieldText(a.strUser, CProgramUseStore::kNameSize) == FieldText(strUser, CProgramUseStore::kNameSize);
}

// Merges a record into the list: a new key is appended, a known one keeps the larger counts.
void Merge(std::list<PROGRAM_USE>& list, const PROGRAM_USE& record) {
    auto it = std::find_if(list.begin(), list.end(), [&record](const PROGRAM_USE& mine) {
        return SameKey(mine, record.strUser, record.strProgram, record.nDate);
    });
    if (it == list.end()) {
        list.push_back(record);
        return;
    }
    it->nUsedSecs = std::max(it->nUsedSecs, record.nUsedSecs);
    it->nEndings = std::max(it->nEndings, record.nEndings);
}

void MergeBytes(std::list<PROGRAM_USE>& list, const BYTES& bytes) {
    for (std::size_t nOffset = 0; nOffset + CProgramUseStore::kRecordSize <= bytes.size();
         nOffset += CProgramUseStore::kRecordSize) {
        CRecordReader reader(bytes, nOffset, nOffset + CProgramUseStore::kRecordSize);
        PROGRAM_USE record;
        record.strUser = reader.ReadText(CProgramUseStore::kNameSize);
        record.strProgram = reader.ReadText(CProgramUseStore::kProgramSize);
        reader.ReadInt32(record.nDate);
        reader.ReadInt32(record.nUsedSecs);
        reader.ReadInt32(record.nEndings);
        record.nUsedSecs = std::max(record.nUsedSecs, 0);
        record.nEndings = std::max(record.nEndings, 0);
        Merge(list, record);
    }
}

}  // namespace

std::list<PROGRAM_USE> CProgramUseStore::Parse(const BYTES& bytes) {
    std::list<PROGRAM_USE> list;
    MergeBytes(list, bytes);
    return list;
}

bool CProgramUseStore::IsSameKey(const PROGRAM_USE& a, const PROGRAM_USE& b) {
    return SameKey(a, b.strUser, b.strProgram, b.nDate);
}

bool CProgramUseStore::Load() {
    BYTES file, copy;
    const bool bFile = CDataFile::Read(kFileName, kRecordSize, file);
    const bool bCopy = CDataFile::ReadCopy(kFileName, copy);
    if (!bFile && !bCopy) return false;
    // The file, the copy and what this run counted may each be behind (a failed save, a file put
    // back by hand): the larger count of each record wins.
    std::list<PROGRAM_USE> list;
    MergeBytes(list, file);
    MergeBytes(list, copy);
    for (const PROGRAM_USE& record : m_list) Merge(list, record);
    m_list = std::move(list);
    return true;
}

bool CProgramUseStore::Save() const {
    CRecordWriter writer;
    for (const PROGRAM_USE& record : m_list) {
        writer.PutText(record.strUser, kNameSize);
        writer.PutText(record.strProgram, kProgramSize);
        writer.PutInt32(record.nDate);
        writer.PutInt32(record.nUsedSecs);
        writer.PutInt32(record.nEndings);
    }
    return CDataFile::Save(kFileName, writer.Bytes());
}

PROGRAM_USE& CProgramUseStore::ForDate(const std::string& strUser, const std::string& strProgram, std::int32_t nDate) {
    if (const PROGRAM_USE* pFound = Find(strUser, strProgram, nDate)) return const_cast<PROGRAM_USE&>(*pFound);
    m_list.push_back(PROGRAM_USE{strUser, strProgram, nDate});
    return m_list.back();
}

const PROGRAM_USE* CProgramUseStore::Find(const std::string& strUser, const std::string& strProgram,
                                          std::int32_t nDate) const {
    for (const PROGRAM_USE& record : m_list)
        if (SameKey(record, strUser, strProgram, nDate)) return &record;
    return nullptr;
}

void CProgramUseStore::RemoveIf(const std::function<bool(const PROGRAM_USE&)>& test) { m_list.remove_if(test); }
