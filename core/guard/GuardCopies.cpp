// The guard's records as files.
#include "core/guard/GuardCopies.h"

#include "core/seams/Files.h"

bool CGuardCopies::Read(const std::string& strFile, BYTES& bytes) {
    return CFiles::Get().ReadAll(m_strFolder + strFile, bytes);
}

bool CGuardCopies::Write(const std::string& strFile, const BYTES& bytes) {
    return m_bWritable && CFiles::Get().ReplaceAll(m_strFolder + strFile, bytes);
}

std::string CGuardCopies::FolderFor(const std::string& strDataFolder) {
    const char cSeparator = !strDataFolder.empty() && strDataFolder.back() == '/' ? '/' : '\\';
    return strDataFolder + "guard" + cSeparator;
}
