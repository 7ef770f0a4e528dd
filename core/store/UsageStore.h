// Every child's usage snapshot of the day, kept in use.sta in the data folder (220 bytes a child),
// so that a day's allowance survives log-outs, switches of user and restarts.
#pragma once

#include <cstddef>
#include <list>
#include <string>

#include "core/seams/Files.h"
#include "core/store/UsageRecord.h"

class CUsageStore {
public:
    static constexpr const char* FILE_NAME = "use.sta";
    static constexpr std::size_t RECORD_SIZE = 220;

    CUsageStore() = default;
    virtual ~CUsageStore() = default;

    // Reads the file's records (restored from the copy when the file is damaged) and, for each
    // child, keeps of the file's, the copy's and the list's own record the one that counts more
    // use today, so that no read gives time back. False (list untouched) when there is neither
    // file nor copy. A trailing fragment shorter than a record is dropped.
    bool Load();
    // Merges other records into the list: a child not in it is appended; a child in it takes the
    // other record when that counts more seconds used on tNow's date. A name's second record
    // meets the list's second record of that name, never its first.
    static void TakeMoreUse(std::list<USAGE_RECORD>& list, const std::list<USAGE_RECORD>& other, TIMESECS tNow);
    // The complete records of a use.sta image, in file order (a trailing fragment is dropped).
    static std::list<USAGE_RECORD> Parse(const BYTES& bytes);
    // Replaces the file with the whole list in one step; false when it could not be written, in
    // which case the old file is whole and the list keeps the data for the next try.
    bool Save() const;

    // Names are compared byte for byte; the first match counts.
    bool Exists(const std::string& strUser) const;
    // The caller changes the element in place. Valid until the next Load or its Remove.
    USAGE_RECORD* Find(const std::string& strUser);
    // Appends a copy of the record.
    void Add(const USAGE_RECORD& record);
    void Remove(const std::string& strUser);

    const std::list<USAGE_RECORD>& GetList() const { return m_list; }

private:
    std::list<USAGE_RECORD> m_list;
};
