// The second copies on Windows: binary values under HKEY_CURRENT_USER\Software\Quenby, and the
// event log as a file under %LOCALAPPDATA%\Quenby.
#include <windows.h>

#include <shlobj.h>

#include "core/seams/DataCopies.h"
#include "core/seams/Files.h"
#include "platform/win32/ScopedHandle.h"

namespace {

constexpr const char* kKey = "Software\\Quenby";

// Files too large for the registry end with ".log".
bool IsLog(const std::string& strFile) {
    return strFile.size() > 4 && strFile.compare(strFile.size() - 4, 4, ".log") == 0;
}

// %LOCALAPPDATA%\Quenby\ (created when missing); "" when the folder is not known.
std::string LocalCopyFolder() {
    char szPath[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, szPath))) return {};
    const std::string strFolder = std::string(szPath) + "\\Quenby";
    ::CreateDirectoryA(strFolder.c_str(), nullptr);
    return strFolder + "\\";
}

class CWinDataCopies final : public IDataCopies {
public:
    bool Read(const std::string& strFile, BYTES& bytes) override {
        if (IsLog(strFile)) {
            const std::string strFolder = LocalCopyFolder();
            return !strFolder.empty() && CFiles::Get().ReadAll(strFolder + strFile, bytes);
        }
        CRegKeyHandle key;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) return false;
        DWORD nType = 0, nSize = 0;
        if (::RegQueryValueExA(key.Get(), strFile.c_str(), nullptr, &nType, nullptr, &nSize) != ERROR_SUCCESS ||
            nType != REG_BINARY)
            return false;
        BYTES read(nSize);
        if (::RegQueryValueExA(key.Get(), strFile.c_str(), nullptr, &nType, read.data(), &nSize) != ERROR_SUCCESS)
            return false;
        read.resize(nSize);
        bytes = std::move(read);
        return true;
    }

    bool Write(const std::string& strFile, const BYTES& bytes) override {
        if (IsLog(strFile)) {
            const std::string strFolder = LocalCopyFolder();
            return !strFolder.empty() && CFiles::Get().ReplaceAll(strFolder + strFile, bytes);
        }
        CRegKeyHandle key;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(),
                              nullptr) != ERROR_SUCCESS)
            return false;
        return ::RegSetValueExA(key.Get(), strFile.c_str(), 0, REG_BINARY, bytes.empty() ? nullptr : bytes.data(),
                                static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    }
};

}  // namespace

IDataCopies& SystemDataCopies() {
    static CWinDataCopies s_copies;
    return s_copies;
}
