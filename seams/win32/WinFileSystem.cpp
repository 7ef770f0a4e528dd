// Crash-safe data files on Windows: temporary file, flush, then one replacing move.
#include <windows.h>

#include "seams/DataFolder.h"
#include "seams/Files.h"
#include "shell/ModulePath.h"

namespace {

// Owns a file handle for the length of one read or write.
class CFileHandle {
public:
    explicit CFileHandle(HANDLE h) : m_h(h) {}
    ~CFileHandle() { Close(); }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    bool IsValid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }
    bool Close() {
        if (!IsValid()) return true;
        const BOOL bOk = ::CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
        return bOk != FALSE;
    }

private:
    HANDLE m_h;
};

bool WriteFully(HANDLE h, const BYTES& bytes) {
    size_t nDone = 0;
    while (nDone < bytes.size()) {
        DWORD nWritten = 0;
        const DWORD nChunk = static_cast<DWORD>(bytes.size() - nDone);
        if (!::WriteFile(h, bytes.data() + nDone, nChunk, &nWritten, nullptr) || nWritten == 0) return false;
        nDone += nWritten;
    }
    return true;
}

class CWinFileSystem final : public IFileSystem {
public:
    bool ReadAll(const std::string& strPath, BYTES& bytes) override {
        CFileHandle file(::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid()) return false;
        bytes.clear();
        char buffer[4096];
        DWORD nRead = 0;
        while (::ReadFile(file.Get(), buffer, sizeof buffer, &nRead, nullptr) && nRead > 0)
            bytes.insert(bytes.end(), buffer, buffer + nRead);
        return true;
    }

    bool ReplaceAll(const std::string& strPath, const BYTES& bytes) override {
        const std::string strTemp = strPath + ".new";
        CFileHandle file(::CreateFileA(strTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid()) return false;
        const bool bWritten = WriteFully(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
        const bool bClosed = file.Close();
        if (!bWritten || !bClosed ||
            !::MoveFileExA(strTemp.c_str(), strPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            ::DeleteFileA(strTemp.c_str());
            return false;
        }
        return true;
    }

    long long SizeOf(const std::string& strPath) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data)) return -1;
        return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
};

}  // namespace

IFileSystem& SystemFileSystem() {
    static CWinFileSystem s_files;
    return s_files;
}

