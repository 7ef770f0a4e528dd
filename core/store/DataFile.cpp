// Data files with their second copies, restored and saved together.
#include "core/store/DataFile.h"

#include <set>
#include <string>

#include "core/seams/DataCopies.h"
#include "core/seams/DataFolder.h"
#include "core/seams/DataGuard.h"
#include "core/store/EventLog.h"
#include "core/store/RecordFile.h"

namespace {

// The files (by full path) whose last save failed, so that a failure is logged once and not
// every minute.
std::set<std::string>& FailingFiles() {
    static std::set<std::string> s_failing;
    return s_failing;
}

}  // namespace

bool CDataFile::IsWhole(const BYTES& bytes, std::size_t nRecordSize) {
    return nRecordSize > 0 && bytes.size() >= nRecordSize && bytes.size() % nRecordSize == 0;
}

bool CDataFile::Read(const char* pszFile, std::size_t nRecordSize, BYTES& bytes) {
    // The guard's record counts before the file, which is only its public face.
    if (CDataCopies::Get().IsAuthority()) {
        BYTES record;
        if (ReadCopy(pszFile, record) && IsWhole(record, nRecordSize)) {
            bytes = std::move(record);
            return true;
        }
    }
    BYTES file;
    const bool bFile = CFiles::Get().ReadAll(CDataFolder::PathOf(pszFile), file);
    if (bFile && IsWhole(file, nRecordSize)) {
        bytes = std::move(file);
        return true;
    }
    BYTES copy;
    if (ReadCopy(pszFile, copy) && IsWhole(copy, nRecordSize)) {
        const bool bRestored = CRecordFile::Save(pszFile, copy);
        CEventLog::Append(CEventLog::kRestored, "",
                          std::string(pszFile) + (bFile ? " was damaged" : " was missing or unreadable") +
                              (bRestored ? "; restored from its copy" : "; its copy is used (the file could not be written)"));
        bytes = std::move(copy);
        return true;
    }
    if (!bFile || file.empty()) return false;
    bytes = std::move(file);
    return true;
}

bool CDataFile::Load(const char* pszFile, std::size_t nRecordSize,
                     const std::function<void(const BYTES& bytes, std::size_t nOffset)>& onRecord) {
    BYTES bytes;
    if (!Read(pszFile, nRecordSize, bytes)) return false;
    for (std::size_t nOffset = 0; nOffset + nRecordSize <= bytes.size(); nOffset += nRecordSize)
        onRecord(bytes, nOffset);
    return true;
}

bool CDataFile::ReadCopy(const char* pszFile, BYTES& bytes) { return CDataCopies::Get().Read(pszFile, bytes); }

bool CDataFile::Save(const char* pszFile, const BYTES& bytes) {
    const bool bSaved = CRecordFile::Save(pszFile, bytes);
    // A guard keeps its own record of what it wrote; the copy is its to write.
    if (!CDataGuard::Get()) CDataCopies::Get().Write(pszFile, bytes);
    const std::string strPath = CDataFolder::PathOf(pszFile);
    if (bSaved) {
        FailingFiles().erase(strPath);
    } else if (FailingFiles().insert(strPath).second) {
        CEventLog::Append(CEventLog::kSaveFailed, "",
                          std::string(pszFile) + " could not be written; the program keeps the data and tries again");
    }
    return bSaved;
}

bool CDataFile::AnyExists() {
    for (const char* pszFile : kCopiedFiles) {
        BYTES bytes;
        if (CFiles::Get().SizeOf(CDataFolder::PathOf(pszFile)) >= 0 || ReadCopy(pszFile, bytes)) return true;
    }
    return false;
}
