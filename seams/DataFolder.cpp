// The data folder chosen once: the program's folder unless a test named another.
#include "seams/DataFolder.h"

namespace {
std::string& Folder() {
    static std::string s_strFolder = DefaultDataFolder();
    return s_strFolder;
}
}  // namespace

const std::string& CDataFolder::Get() { return Folder(); }

void CDataFolder::Use(const std::string& strFolder) {
    Folder() = strFolder.empty() ? DefaultDataFolder() : strFolder;
}

std::string CDataFolder::PathOf(const char* pszFile) { return Folder() + pszFile; }
