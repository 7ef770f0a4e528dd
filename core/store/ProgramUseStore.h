// How long each child used each program with a rule, per day, kept in programs.use in the data
// folder (268 bytes a record), so that a program's minutes survive log-outs and restarts. A day's
// records stay until the day's lines are in the history.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <string>

#include "core/seams/Files.h"

struct PROGRAM_USE {
    std::string strUser;
    std::string strProgram;
    std::int32_t nDate = 0;      // year * 10000 + month * 100 + day
    std::int32_t nUsedSecs = 0;  // seconds the program's window was in front
    std::int32_t nEndings = 0;   // times the rule closed or ended the program that day
    bool operator==(const PROGRAM_USE&) const = default;
};

class CProgramUseStore {
public:
    static constexpr const char* kFileName = "programs.use";
    static constexpr std::size_t kNameSize = 128;
    static constexpr std::size_t kProgramSize = 128;
    static constexpr std::size_t kRecordSize = kNameSize + kProgramSize + 3 * 4;

    // Reads the file's records (restored from the copy when the file is damaged) and merges them
    // with the copy's and the list's own: of two records of one child, program and date the
    // larger counts win, so that no read gives minutes back. False (list untouched) when there is
    // neither file nor copy.
    bool Load();
    // Replaces the file with the list in one step (and its copy); false (old file whole) on failure.
    bool Save() const;

    // The record of the child, program and date, added when missing.
    PROGRAM_USE& ForDate(const std::string& strUser, const std::string& strProgram, std::int32_t nDate);
    const PROGRAM_USE* Find(const std::string& strUser, const std::string& strProgram, std::int32_t nDate) const;
    // Drops the records the test names.
    void RemoveIf(const std::function<bool(const PROGRAM_USE&)>& test);

    const std::list<PROGRAM_USE>& GetList() const { return m_list; }

    // The records of a file's bytes, merged as a load merges them (no copy, no list of its own).
    static std::list<PROGRAM_USE> Parse(const BYTES& bytes);
    // Whether two records are of one child, program (letters compared without regard to case) and date.
    static bool IsSameKey(const PROGRAM_USE& a, const PROGRAM_USE& b);

private:
    std::list<PROGRAM_USE> m_list;
};
