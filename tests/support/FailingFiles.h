// Makes the real save fail where a full disk, a pulled plug or a refused replace makes it fail:
// inside the system calls the data files are written with. Every call goes to the platform's real
// one; the chosen call fails, after doing for real what it would have done up to that point.
#pragma once

#include <algorithm>
#include <map>

#include "core/seams/FileCalls.h"

class CFailingFiles final : public IFileCalls {
public:
    enum FAULT {
        kNoFault,
        kWrite,    // a write fails once this many bytes reached the file (a full disk)
        kFlush,    // the flush to the disk fails
        kClose,    // closing the written file fails
        kReplace,  // the move that puts the new file in place is refused
        kRead,     // a read fails once this many bytes were read (a bad sector, a lost network drive)
    };

    CFailingFiles() { CFileCalls::Use(this); }
    ~CFailingFiles() override { CFileCalls::Use(nullptr); }
    CFailingFiles(const CFailingFiles&) = delete;
    CFailingFiles& operator=(const CFailingFiles&) = delete;

    // The next saves write only this many bytes of their image and then fail (-1: no failure).
    void FailAfter(long long nBytes) { Fail(nBytes < 0 ? kNoFault : kWrite, nBytes); }
    void Fail(FAULT fault, long long nBytes = 0) {
        m_fault = fault;
        m_nLimit = nBytes;
    }

    bool OpenRead(const std::string& strPath, FILE_REF& file) override {
        if (!Real().OpenRead(strPath, file)) return false;
        m_done[file] = 0;
        return true;
    }
    bool Create(const std::string& strPath, FILE_REF& file) override {
        if (!Real().Create(strPath, file)) return false;
        m_done[file] = 0;
        return true;
    }
    bool Read(FILE_REF file, void* pBuffer, std::size_t nSize, std::size_t& nRead) override {
        return Limited(kRead, file, nSize, nRead, [&](std::size_t n, std::size_t& nDone) {
            return Real().Read(file, pBuffer, n, nDone);
        });
    }
    bool Write(FILE_REF file, const void* pData, std::size_t nSize, std::size_t& nWritten) override {
        return Limited(kWrite, file, nSize, nWritten, [&](std::size_t n, std::size_t& nDone) {
            return Real().Write(file, pData, n, nDone);
        });
    }
    bool Flush(FILE_REF file) override { return m_fault != kFlush && Real().Flush(file); }
    bool Close(FILE_REF file) override {
        m_done.erase(file);
        const bool bClosed = Real().Close(file);  // the handle is gone either way, as on a real failure
        return m_fault != kClose && bClosed;
    }
    bool Replace(const std::string& strFrom, const std::string& strTo) override {
        return m_fault != kReplace && Real().Replace(strFrom, strTo);
    }
    bool ClearReadOnly(const std::string& strPath) override { return Real().ClearReadOnly(strPath); }
    bool Remove(const std::string& strPath) override { return Real().Remove(strPath); }
    bool MakeFolder(const std::string& strPath) override { return Real().MakeFolder(strPath); }
    long long SizeOf(const std::string& strPath) override { return Real().SizeOf(strPath); }

private:
    static IFileCalls& Real() { return SystemFileCalls(); }

    // Passes at most what is left of the limit on to the real call, and fails once nothing is.
    template <typename CALL>
    bool Limited(FAULT fault, FILE_REF file, std::size_t nSize, std::size_t& nDone, CALL call) {
        nDone = 0;
        if (m_fault != fault) return call(nSize, nDone);
        const long long nLeft = m_nLimit - m_done[file];
        if (nLeft <= 0 && nSize > 0) return false;
        if (!call(std::min<std::size_t>(nSize, static_cast<std::size_t>(std::max(nLeft, 0LL))), nDone)) return false;
        m_done[file] += static_cast<long long>(nDone);
        return true;
    }

    FAULT m_fault = kNoFault;
    long long m_nLimit = 0;
    std::map<FILE_REF, long long> m_done;
};
