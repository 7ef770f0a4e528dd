// The file calls of Windows: handles, FlushFileBuffers and a replacing, write-through move.
#include <windows.h>

#include "core/seams/DataFolder.h"
#include "core/seams/FileCalls.h"
#include "platform/win32/ModulePath.h"

namespace {

HANDLE HandleOf(FILE_REF file) { return reinterpret_cast<HANDLE>(file); }

class CWinFileCalls final : public IFileCalls {
public:
    bool OpenRead(const std::string& strPath, FILE_REF& file) override {
        return Opened(::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                      file);
    }
    bool Create(const std::string& strPath, FILE_REF& file) override {
        return Opened(::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr),
                      file);
    }
    bool Read(FILE_REF file, void* pBuffer, std::size_t nSize, std::size_t& nRead) override {
        DWORD n = 0;
        const BOOL bOk = ::ReadFile(HandleOf(file), pBuffer, static_cast<DWORD>(nSize), &n, nullptr);
        nRead = bOk ? n : 0;
        return bOk != FALSE;
    }
    bool Write(FILE_REF file, const void* pData, std::size_t nSize, std::size_t& nWritten) override {
        DWORD n = 0;
        const BOOL bOk = ::WriteFile(HandleOf(file), pData, static_cast<DWORD>(nSize), &n, nullptr);
        nWritten = bOk ? n : 0;
        return bOk != FALSE;
    }
    bool Flush(FILE_REF file) override { return ::FlushFileBuffers(HandleOf(file)) != FALSE; }
    bool Close(FILE_REF file) override { return ::CloseHandle(HandleOf(file)) != FALSE; }
    bool Replace(const std::string& strFrom, const std::string& strTo) override {
        return ::MoveFileExA(strFrom.c_str(), strTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
               FALSE;
    }
    bool ClearReadOnly(const std::string& strPath) override {
        const DWORD nAttributes = ::GetFileAttributesA(strPath.c_str());
        if (nAttributes == INVALID_FILE_ATTRIBUTES || !(nAttributes & FILE_ATTRIBUTE_READONLY)) return false;
        return ::SetFileAttributesA(strPath.c_str(), nAttributes & ~FILE_ATTRIBUTE_READONLY) != FALSE;
    }
    bool Remove(const std::string& strPath) override { return ::DeleteFileA(strPath.c_str()) != FALSE; }
    bool MakeFolder(const std::string& strPath) override {
        if (::CreateDirectoryA(strPath.c_str(), nullptr)) return true;
        const DWORD nAttributes = ::GetFileAttributesA(strPath.c_str());
        return nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    long long SizeOf(const std::string& strPath) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data)) return -1;
        return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }

private:
    static bool Opened(HANDLE h, FILE_REF& file) {
        if (h == INVALID_HANDLE_VALUE) return false;
        file = reinterpret_cast<FILE_REF>(h);
        return true;
    }
};

}  // namespace

IFileCalls& SystemFileCalls() {
    static CWinFileCalls s_calls;
    return s_calls;
}

