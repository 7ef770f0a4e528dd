// The few system calls that data files are read and saved with. The platform provides the real
// ones; a test wraps them to make one of them fail, as a full disk, a pulled plug or a refused
// replace would, inside the real save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// An open file: a descriptor or a handle, whichever the platform uses.
using FILE_REF = std::intptr_t;

class IFileCalls {
public:
    virtual ~IFileCalls() = default;
    // Opens an existing file for reading; false when it cannot be opened.
    virtual bool OpenRead(const std::string& strPath, FILE_REF& file) = 0;
    // Creates a file for writing, emptying one that exists.
    virtual bool Create(const std::string& strPath, FILE_REF& file) = 0;
    // Reads at most nSize bytes; nRead is 0 at the end of the file. False when the read failed.
    virtual bool Read(FILE_REF file, void* pBuffer, std::size_t nSize, std::size_t& nRead) = 0;
    // Writes at most nSize bytes; false when the write failed.
    virtual bool Write(FILE_REF file, const void* pData, std::size_t nSize, std::size_t& nWritten) = 0;
    // Forces what was written onto the disk.
    virtual bool Flush(FILE_REF file) = 0;
    virtual bool Close(FILE_REF file) = 0;
    // Puts one file in place of another in one step, replacing it. Refused when the target is
    // read-only (Windows refuses it; the native calls do the same, so both behave alike).
    virtual bool Replace(const std::string& strFrom, const std::string& strTo) = 0;
    // Makes a read-only file writable again; true when it was read-only and no longer is.
    virtual bool ClearReadOnly(const std::string& strPath) = 0;
    virtual bool Remove(const std::string& strPath) = 0;
    // Creates a folder; true when it exists afterwards.
    virtual bool MakeFolder(const std::string& strPath) = 0;
    // Size in bytes, or -1 when the file's status cannot be read.
    virtual long long SizeOf(const std::string& strPath) = 0;
};

class CFileCalls {
public:
    static IFileCalls& Get();
    // Replaces the calls (nullptr: the platform's again). Only tests call it.
    static void Use(IFileCalls* pCalls);
};

// The platform's real calls.
IFileCalls& SystemFileCalls();
