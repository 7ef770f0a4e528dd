// Where the data files live on Windows. The installer records the folder it installed into under
// HKEY_LOCAL_MACHINE\Software\Quenby (value "InstallDir"); a program started from that folder
// keeps its data in the shared application-data folder (%ProgramData%\Quenby), which the installer
// made writable for every Windows account. A program unpacked anywhere else keeps its data
// beside itself.
#include <windows.h>
#include <shlobj.h>

#include "core/seams/DataFolder.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/ScopedHandle.h"

namespace {

constexpr const char kProductKey[] = "Software\\Quenby";
constexpr const char kInstallDirValue[] = "InstallDir";

// The folder the installer recorded, or "" when there is none.
std::string InstalledFolder() {
    CRegKeyHandle key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) return {};
    char szDir[MAX_PATH] = {};
    DWORD nSize = sizeof szDir - 1;
    DWORD nType = 0;
    const LONG nStatus =
        ::RegQueryValueExA(key.Get(), kInstallDirValue, nullptr, &nType, reinterpret_cast<BYTE*>(szDir), &nSize);
    return nStatus == ERROR_SUCCESS && nType == REG_SZ ? std::string(szDir) : std::string();
}

// %ProgramData%\Quenby\ (created when it is missing), or "" when the system names no such folder.
std::string SharedFolder() {
    char szCommon[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, szCommon))) return {};
    const std::string strFolder = std::string(szCommon) + "\\Quenby";
    ::CreateDirectoryA(strFolder.c_str(), nullptr);  // the write proof at start-up tells if this failed
    return strFolder + "\\";
}

}  // namespace

std::string DefaultDataFolder() {
    const std::string strProgramDir = GetModuleDir();
    const std::string strInstalledDir = InstalledFolder();
    // The shared folder is only looked up (and created) for an installed program.
    return CDataFolder::Choose(strProgramDir, strInstalledDir, strInstalledDir.empty() ? std::string() : SharedFolder());
}
