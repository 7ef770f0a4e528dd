// Where the data files' writes go. Without a guard (the unpacked program) each data file is
// written in the data folder as always. When a guard owns the data (the installed program's
// service), every write, every event and the Administrator's password go to it instead: it checks
// each one before it writes, and the program only reads the files.
#pragma once

#include <string>

#include "core/seams/Files.h"

class IDataGuard {
public:
    virtual ~IDataGuard() = default;
    // Replaces a data file (its bare name) with the whole image; false when the guard refused or
    // could not write it, in which case the file is as it was.
    virtual bool Write(const std::string& strFile, const BYTES& image) = 0;
    // Adds one event to the parent's event log, at the guard's time.
    virtual bool Event(const std::string& strKind, const std::string& strAccount, const std::string& strDetail) = 0;
    // Checks the Administrator's password; when it is right the guard takes the Administrator's
    // writes until Logout (or until its proof runs out).
    virtual bool Login(const std::string& strPassword) = 0;
    // The Administrator has left: writes that need the Administrator are refused again.
    virtual void Logout() = 0;
    // Whether the guard answers at all (the write proof of the data folder).
    virtual bool IsReachable() = 0;
};

class CDataGuard {
public:
    // The guard in use, or null when the data files are written here.
    static IDataGuard* Get();
    // Installs the guard (nullptr: none). The program's start-up decides; tests install their own.
    static void Use(IDataGuard* pGuard);
};
