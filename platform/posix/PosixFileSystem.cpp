// The file calls of POSIX systems (the native build): descriptors, fsync and rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/seams/DataFolder.h"
#include "core/seams/FileCalls.h"

namespace {

class CPosixFileCalls final : public IFileCalls {
public:
    bool OpenRead(const std::string& strPath, FILE_REF& file) override {
        return Opened(::open(strPath.c_str(), O_RDONLY), file);
    }
    bool Create(const std::string& strPath, FILE_REF& file) override {
        return Opened(::open(strPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), file);
    }
    bool Read(FILE_REF file, void* pBuffer, std::size_t nSize, std::size_t& nRead) override {
        ssize_t n;
        do n = ::read(static_cast<int>(file), pBuffer, nSize);
        while (n < 0 && errno == EINTR);
        nRead = n > 0 ? static_cast<std::size_t>(n) : 0;
        return n >= 0;
    }
    bool Write(FILE_REF file, const void* pData, std::size_t nSize, std::size_t& nWritten) override {
        ssize_t n;
        do n = ::write(static_cast<int>(file), pData, nSize);
        while (n < 0 && errno == EINTR);
        nWritten = n > 0 ? static_cast<std::size_t>(n) : 0;
        return n >= 0;
    }
    bool Flush(FILE_REF file) override { return ::fsync(static_cast<int>(file)) == 0; }
    bool Close(FILE_REF file) override { return ::close(static_cast<int>(file)) == 0; }
    bool Replace(const std::string& strFrom, const std::string& strTo) override {
        if (IsReadOnly(strTo)) {
            errno = EACCES;
            return false;
        }
        return std::rename(strFrom.c_str(), strTo.c_str()) == 0;
    }
    bool ClearReadOnly(const std::string& strPath) override {
        struct stat st {};
        if (!IsReadOnly(strPath, &st)) return false;
        return ::chmod(strPath.c_str(), st.st_mode | S_IWUSR) == 0;
    }
    bool Remove(const std::string& strPath) override { return std::remove(strPath.c_str()) == 0; }
    bool MakeFolder(const std::string& strPath) override {
        struct stat info{};
        return ::mkdir(strPath.c_str(), 0755) == 0 || (::stat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
    }
    long long SizeOf(const std::string& strPath) override {
        struct stat st {};
        if (::stat(strPath.c_str(), &st) != 0) return -1;
        return static_cast<long long>(st.st_size);
    }

private:
    static bool IsReadOnly(const std::string& strPath, struct stat* pStat = nullptr) {
        struct stat st {};
        if (::stat(strPath.c_str(), &st) != 0) return false;
        if (pStat) *pStat = st;
        return (st.st_mode & S_IWUSR) == 0;
    }
    static bool Opened(int fd, FILE_REF& file) {
        if (fd < 0) return false;
        file = fd;
        return true;
    }
};

}  // namespace

IFileCalls& SystemFileCalls() {
    static CPosixFileCalls s_calls;
    return s_calls;
}

// Natively there is no program folder: the data files live in the current directory.
std::string DefaultDataFolder() { return std::string(); }
