// The second copy of every data file, kept where the child does not see it in the data folder.
// The platform decides where: on Windows the small record files are values under
// HKEY_CURRENT_USER\Software\Quenby and the event log is a file of the same name under the
// account's local application data folder (too large for the registry). The native build keeps
// none; tests install one in memory.
#pragma once

#include <string>

#include "core/seams/Files.h"

class IDataCopies {
public:
    virtual ~IDataCopies() = default;
    // The copy of the data file with this bare name; false (bytes untouched) when there is none
    // or it cannot be read.
    virtual bool Read(const std::string& strFile, BYTES& bytes) = 0;
    // Replaces the copy with these bytes; false when it could not be written.
    virtual bool Write(const std::string& strFile, const BYTES& bytes) = 0;
    // True when the copies are the record that counts, kept where only a guard writes them: a
    // reader then takes the copy before the file, which anyone might have changed.
    virtual bool IsAuthority() const { return false; }
};

class CDataCopies {
public:
    static IDataCopies& Get();
    // Replaces the copies (nullptr: the platform's again). Only tests call it.
    static void Use(IDataCopies* pCopies);
};

// The platform's copies.
IDataCopies& SystemDataCopies();
