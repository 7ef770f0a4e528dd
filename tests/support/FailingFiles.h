// A file system that lets a test cut a save short after a chosen number of bytes, as a power cut
// or a full disk would, while reads go to the real files.
#pragma once

#include <algorithm>

#include "seams/Files.h"

class CFailingFiles final : public IFileSystem {
public:
    CFailingFiles() { CFiles::Use(this); }
    ~CFailingFiles() override { CFiles::Use(nullptr); }
    CFailingFiles(const CFailingFiles&) = delete;
    CFailingFiles& operator=(const CFailingFiles&) = delete;

    // The next saves write only this many bytes of their image and then fail (-1: no failure).
    void FailAfter(long long nBytes) { m_nFailAfter = nBytes; }

    bool ReadAll(const std::string& strPath, BYTES& bytes) override { return Real().ReadAll(strPath, bytes); }
    long long SizeOf(const std::string& strPath) override { return Real().SizeOf(strPath); }
    bool ReplaceAll(const std::string& strPath, const BYTES& bytes) override {
        if (m_nFailAfter < 0) return Real().ReplaceAll(strPath, bytes);
        // What reached the disk before the failure is only the temporary file; the target stays.
        const BYTES part(bytes.begin(), bytes.begin() + std::min<long long>(m_nFailAfter, bytes.size()));
        Real().ReplaceAll(strPath + ".partial", part);
        return false;
    }

private:
    static IFileSystem& Real() { return SystemFileSystem(); }
    long long m_nFailAfter = -1;
};
