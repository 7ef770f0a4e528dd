// Every child's usage snapshot of the day, kept in use.sta in the data folder (220 bytes a child),
// so that a day's allowance survives log-outs, switches of user and restarts.
#pragma once

#include <cstddef>
#include <list>
#include <string>

#include "store/UsageRecord.h"

class CUsageStore {
public:
    static constexpr const char* FILE_NAME = "use.sta";
    static constexpr std::size_t RECORD_SIZE = 220;

    CUsageStore() = default;
    virtual ~CUsageStore() = default;

    // Replaces the list with the file's records. False (list untouched) when the file is missing
    // or empty. A trailing fragment shorter than a record (a file cut short) is dropped.
    bool Load();
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
