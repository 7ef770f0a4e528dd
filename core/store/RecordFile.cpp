// Data files read whole and replaced whole through the file seam.
#include "core/store/RecordFile.h"

#include "core/seams/DataFolder.h"
#include "core/seams/DataGuard.h"

bool CRecordFile::ReadAll(const char* pszFile, BYTES& bytes) {
    return CFiles::Get().ReadAll(CDataFolder::PathOf(pszFile), bytes) && !bytes.empty();
}

bool CRecordFile::Load(const char* pszFile, std::size_t nRecordSize,
                       const std::function<void(const BYTES& bytes, std::size_t nOffset)>& onRecord) {
    BYTES bytes;
    if (!ReadAll(pszFile, bytes)) return false;
    for (std::size_t nOffset = 0; nOffset + nRecordSize <= bytes.size(); nOffset += nRecordSize)
        onRecord(bytes, nOffset);
    return true;
}

bool CRecordFile::Save(const char* pszFile, const BYTES& bytes) {
    if (IDataGuard* pGuard = CDataGuard::Get()) return pGuard->Write(pszFile, bytes);
    return SaveHere(pszFile, bytes);
}

bool CRecordFile::SaveHere(const char* pszFile, const BYTES& bytes) {
    return CFiles::Get().ReplaceAll(CDataFolder::PathOf(pszFile), bytes);
}
