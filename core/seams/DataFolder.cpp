// The data folder chosen once (by the platform, see Choose) unless a test named another.
#include "core/seams/DataFolder.h"

#include <cstdio>

#include "core/seams/DataGuard.h"
#include "core/seams/Files.h"

namespace {
std::string& Folder() {
    static std::string s_strFolder = DefaultDataFolder();
    return s_strFolder;
}

bool s_bWritable = true;

// Lower case, with forward slashes as backslashes and exactly one trailing separator.
std::string Normalised(const std::string& strDir) {
    std::string strResult;
    for (char c : strDir) {
        if (c == '/') c = '\\';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        strResult += c;
    }
    while (!strResult.empty() && strResult.back() == '\\') strResult.pop_back();
    return strResult + '\\';
}

std::string WithSeparator(const std::string& strDir) {
    if (strDir.empty() || strDir.back() == '\\' || strDir.back() == '/') return strDir;
    return strDir + '\\';
}
}  // namespace

const std::string& CDataFolder::Get() { return Folder(); }

void CDataFolder::Use(const std::string& strFolder) {
    Folder() = strFolder.empty() ? DefaultDataFolder() : strFolder;
}

std::string CDataFolder::PathOf(const char* pszFile) { return Folder() + pszFile; }

std::string CDataFolder::Choose(const std::string& strProgramDir, const std::string& strInstalledDir,
                                const std::string& strSharedDir) {
    const bool bInstalled = !strProgramDir.empty() && !strInstalledDir.empty() && !strSharedDir.empty() &&
                            Normalised(strProgramDir) == Normalised(strInstalledDir);
    return WithSeparator(bInstalled ? strSharedDir : strProgramDir);
}

bool CDataFolder::ProveWritable() {
    // With a guard the program writes nothing itself: the guard answering is the proof.
    if (IDataGuard* pGuard = CDataGuard::Get()) return s_bWritable = pGuard->IsReachable();
    const std::string strProbe = PathOf(kProbeFile);
    s_bWritable = CFiles::Get().ReplaceAll(strProbe, BYTES{'Q'}) && std::remove(strProbe.c_str()) == 0;
    return s_bWritable;
}

bool CDataFolder::WasWritable() { return s_bWritable; }
