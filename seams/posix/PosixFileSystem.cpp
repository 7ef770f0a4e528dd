// Crash-safe data files on POSIX systems (the native build): temporary file, fsync, rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "seams/DataFolder.h"
#include "seams/Files.h"

namespace {

bool WriteFully(int fd, const BYTES& bytes) {
    size_t nDone = 0;
    while (nDone < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + nDone, bytes.size() - nDone);
        if (n <= 0) return false;
        nDone += static_cast<size_t>(n);
    }
    return true;
}

class CPosixFileSystem final : public IFileSystem {
public:
    bool ReadAll(const std::string& strPath, BYTES& bytes) override {
        std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
        if (!pFile) return false;
        bytes.clear();
        unsigned char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pFile)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(pFile);
        return true;
    }

    bool ReplaceAll(const std::string& strPath, const BYTES& bytes) override {
        const std::string strTemp = strPath + ".new";
        const int fd = ::open(strTemp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return false;
        const bool bWritten = WriteFully(fd, bytes) && ::fsync(fd) == 0;
        const bool bClosed = ::close(fd) == 0;
        if (!bWritten || !bClosed || std::rename(strTemp.c_str(), strPath.c_str()) != 0) {
            std::remove(strTemp.c_str());
            return false;
        }
        return true;
    }

    long long SizeOf(const std::string& strPath) override {
        struct stat st {};
        if (::stat(strPath.c_str(), &st) != 0) return -1;
        return static_cast<long long>(st.st_size);
    }
};

}  // namespace

IFileSystem& SystemFileSystem() {
    static CPosixFileSystem s_files;
    return s_files;
}

// Natively there is no program folder: the data files live in the current directory.
std::string DefaultDataFolder() { return std::string(); }
