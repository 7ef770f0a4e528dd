// The file system every data file goes through: whole reads, and saves that never leave a torn
// file, built on the platform's file calls.
#include "core/seams/Files.h"

#include "core/seams/FileCalls.h"

namespace {

IFileSystem* g_pFiles = nullptr;
IFileCalls* g_pCalls = nullptr;

// Closes a file opened through the calls when it goes out of scope, unless closed before.
class COpenFile {
public:
    COpenFile(IFileCalls& calls, FILE_REF file) : m_calls(calls), m_file(file) {}
    ~COpenFile() { Close(); }
    COpenFile(const COpenFile&) = delete;
    COpenFile& operator=(const COpenFile&) = delete;
    FILE_REF Get() const { return m_file; }
    bool Close() {
        if (!m_bOpen) return true;
        m_bOpen = false;
        return m_calls.Close(m_file);
    }

private:
    IFileCalls& m_calls;
    FILE_REF m_file;
    bool m_bOpen = true;
};

bool WriteFully(IFileCalls& calls, FILE_REF file, const BYTES& bytes) {
    std::size_t nDone = 0;
    while (nDone < bytes.size()) {
        std::size_t nWritten = 0;
        if (!calls.Write(file, bytes.data() + nDone, bytes.size() - nDone, nWritten) || nWritten == 0) return false;
        nDone += nWritten;
    }
    return true;
}

class CSafeFileSystem final : public IFileSystem {
public:
    bool ReadAll(const std::string& strPath, BYTES& bytes) override {
        IFileCalls& calls = CFileCalls::Get();
        FILE_REF ref = 0;
        if (!calls.OpenRead(strPath, ref)) return false;
        COpenFile file(calls, ref);
        BYTES read;
        std::uint8_t buffer[4096];
        for (;;) {
            std::size_t nRead = 0;
            // A failed read is not the end of the file: what came before it is not the file.
            if (!calls.Read(file.Get(), buffer, sizeof buffer, nRead)) return false;
            if (nRead == 0) break;
            read.insert(read.end(), buffer, buffer + nRead);
        }
        bytes = std::move(read);
        return true;
    }

    bool ReplaceAll(const std::string& strPath, const BYTES& bytes) override {
        IFileCalls& calls = CFileCalls::Get();
        const std::string strTemp = strPath + ".new";
        FILE_REF ref = 0;
        if (!calls.Create(strTemp, ref)) return false;
        COpenFile file(calls, ref);
        const bool bWritten = WriteFully(calls, file.Get(), bytes) && calls.Flush(file.Get());
        const bool bClosed = file.Close();
        // A target made read-only (Quenby never makes one so) refuses the replace: it is made
        // writable and the replace tried once more.
        if (!bWritten || !bClosed ||
            (!calls.Replace(strTemp, strPath) && !(calls.ClearReadOnly(strPath) && calls.Replace(strTemp, strPath)))) {
            calls.Remove(strTemp);
            return false;
        }
        return true;
    }

    long long SizeOf(const std::string& strPath) override { return CFileCalls::Get().SizeOf(strPath); }
};

}  // namespace

IFileSystem& CFiles::Get() { return g_pFiles ? *g_pFiles : SystemFileSystem(); }

void CFiles::Use(IFileSystem* pFiles) { g_pFiles = pFiles; }

IFileSystem& SystemFileSystem() {
    static CSafeFileSystem s_files;
    return s_files;
}

IFileCalls& CFileCalls::Get() { return g_pCalls ? *g_pCalls : SystemFileCalls(); }

void CFileCalls::Use(IFileCalls* pCalls) { g_pCalls = pCalls; }
