// Each child's extra time of the day and the day's count of locks, kept in extra.tim in the data
// folder (144 bytes a child), so that time granted on the spot survives a restart and the day's
// history line knows what was granted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>

#include "core/seams/Files.h"

// One child's record: the name field (128 bytes, the field rule), the local date it is about
// (year * 10000 + month * 100 + day) and three counts of that date, all little-endian int32.
struct EXTRA_RECORD {
    std::string strUser;
    std::int32_t nDate = 0;
    std::int32_t nGrantedSecs = 0;  // extra time granted on that date, in total
    std::int32_t nExtraSecsLeft = 0;  // of it, not used yet
    std::int32_t nLocks = 0;        // times the screen was locked by a rule that day
    bool operator==(const EXTRA_RECORD&) const = default;
};

class CExtraTimeStore {
public:
    static constexpr const char* kFileName = "extra.tim";
    static constexpr std::size_t kNameSize = 128;
    static constexpr std::size_t kRecordSize = kNameSize + 4 * 4;

    // Replaces the list with the file's records; false (list untouched) when the file is missing
    // or empty. A trailing fragment shorter than a record is dropped.
    bool Load();
    // Replaces the file with the list in one step; false (old file whole) on failure.
    bool Save() const;

    // The user's record (names compared as stored), or null.
    const EXTRA_RECORD* Find(const std::string& strUser) const;
    // The user's record for the date: a record of another date is started afresh, a missing one
    // is added.
    EXTRA_RECORD& ForDate(const std::string& strUser, std::int32_t nDate);

    // Adds extra time for the user on the date to extra.tim (read first, written at once), for a
    // child who is not logged in; false when the file could not be written.
    bool Grant(const std::string& strUser, std::int32_t nDate, std::int32_t nSeconds);

    const std::list<EXTRA_RECORD>& GetList() const { return m_list; }
    // The complete records of an extra.tim image, in file order.
    static std::list<EXTRA_RECORD> Parse(const BYTES& bytes);

private:
    std::list<EXTRA_RECORD> m_list;
};
