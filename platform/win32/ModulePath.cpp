// The program's own path and folder, read from the loader.
#include "platform/win32/ModulePath.h"

#include <windows.h>

#include <cstring>

std::string GetModulePath() {
    char szPath[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    return std::string(szPath, n);
}

bool GetModuleDir(std::string& strDir) {
    strDir.clear();
    // The buffer is pre-filled with a byte that is never a backslash, so the backward search
    // below finds only the separator that the loader wrote.
    char buffer[MAX_PATH];
    std::memset(buffer, 10, sizeof buffer);
    if (::GetModuleFileNameA(nullptr, buffer, MAX_PATH) == 0) return false;
    for (int i = MAX_PATH - 1; i >= 1; --i) {
        if (buffer[i] == '\\') {
            strDir.assign(buffer, static_cast<size_t>(i) + 1);
            return true;
        }
    }
    return false;
}

std::string GetModuleDir() {
    std::string strDir;
    GetModuleDir(strDir);
    return strDir;
}
