// The guard's keeping of the data files. For each file it keeps its own record (guard\ under the
// data folder, see CGuardCopies) and writes the file in the data folder as the record's public
// face; the Administrator's record with its password hash lives apart (guard\admin\parent.nam,
// which only the guard and Windows administrators may read), and parent.nam's public face says
// that the guard holds the password. Verify puts back every file changed behind the guard's back
// and removes every file it never wrote, and logs each.
//
// For everything the guard runs (its checks, the kill gap, its events) the keeper is the data
// guard and its records the data copies (Install), so that every write there is a record too.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/guard/GuardCopies.h"
#include "core/seams/DataGuard.h"

class CGuardKeeper final : public IDataGuard {
public:
    // The files the guard keeps: every file it takes writes of, and the event log.
    static const std::vector<std::string>& Files();

    // Keeps the files of the data folder in use now.
    CGuardKeeper();

    // Makes its folders and takes over each file it has no record of yet: the first start after
    // the installation, or after the unpacked program kept the data. Returns false when its
    // folders cannot be made.
    bool Start();
    // The record of a file (parent.nam: the whole record, password hash included); false when
    // there is none.
    bool Read(const std::string& strFile, BYTES& image);
    // Puts back each file that differs from its record, removes each it has no record of, logs
    // each; returns how many it changed.
    int Verify();

    // The data guard of everything the guard runs: writes made without question.
    bool Write(const std::string& strFile, const BYTES& image) override;
    bool Event(const std::string& strKind, const std::string& strAccount, const std::string& strDetail) override;
    bool Login(const std::string&) override { return false; }
    void Logout() override {}
    bool IsReachable() override { return true; }

    CGuardCopies& Records() { return m_records; }
    const std::string& PrivateFolder() const { return m_strPrivate; }

private:
    bool WriteParent(const BYTES& image);
    // Adds an event. Every append writes the log's file anew from the guard's record, so a log
    // trimmed or changed behind the guard's back is noted first, or the append would put it back
    // without a word.
    bool AppendEvent(const std::string& strKind, const std::string& strAccount, const std::string& strDetail);
    std::string m_strData;
    CGuardCopies m_records;
    std::string m_strPrivate;
    // Files that could not be put back: logged once, not at every check.
    std::set<std::string> m_unrestored;
};

// While it lives, the keeper is the data guard and its records the data copies; what was
// installed before comes back after.
class CKeeperScope {
public:
    explicit CKeeperScope(CGuardKeeper& keeper);
    ~CKeeperScope();
    CKeeperScope(const CKeeperScope&) = delete;
    CKeeperScope& operator=(const CKeeperScope&) = delete;

private:
    IDataGuard* m_pGuard;
    IDataCopies* m_pCopies;
};
