// A data file of fixed-size records together with its second copy (core/seams/DataCopies.h): every
// save writes both, and a read restores a damaged file from its copy. A failed save is written to
// the event log once, until the file saves again; the caller keeps its data in memory and tries
// again at its next save.
#pragma once

#include <cstddef>
#include <functional>

#include "core/seams/Files.h"

class CDataFile {
public:
    // The files that have a second copy and decide whether a first run may happen.
    static constexpr const char* kCopiedFiles[] = {"parent.nam", "child.nam", "prj.nam", "use.sta", "userinfo.aur"};

    // Reads the file. When it is missing, unreadable or not a whole number of records (at least
    // one) and its copy is whole, the copy's bytes are written back to the file, the restore is
    // logged and the copy's bytes are returned. False when neither gives any bytes. Copies that
    // are a guard's record are taken first, whatever the file holds.
    static bool Read(const char* pszFile, std::size_t nRecordSize, BYTES& bytes);
    // As Read, handing over each complete record in file order.
    static bool Load(const char* pszFile, std::size_t nRecordSize,
                     const std::function<void(const BYTES& bytes, std::size_t nOffset)>& onRecord);
    // The copy alone; false when there is none.
    static bool ReadCopy(const char* pszFile, BYTES& bytes);
    // Writes the file and then its copy (with a guard: the guard's write, which keeps its own
    // record). The result is the file's: false (old file whole) when it could not be written or
    // the guard refused it, which is logged.
    static bool Save(const char* pszFile, const BYTES& bytes);
    // Whether any copied file or any copy exists: the first run is only for a machine without data.
    static bool AnyExists();
    // A whole number of records, at least one.
    static bool IsWhole(const BYTES& bytes, std::size_t nRecordSize);
};
