// history.csv in the data folder: one line per child and finished day, for the parent to keep
// and to open in a spreadsheet. A header line, then "date,child,minutes used,minutes allowed,
// locks,extra minutes" with the date as YYYY-MM-DD; lines end with CR LF; a child's name is
// quoted when it holds a comma or a quote (a line break in it is written as a blank). A program
// with a rule adds its own line per child and day, with a seventh field, the program; the header
// names that column once the file holds such a line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A child's day, or (with a program) one program's day of the child: then the minutes are the
// program's, the allowed minutes its rule's (-1 for no limit, written as an empty field), the
// locks the times the rule closed or ended it, and there are no extra minutes.
struct HISTORY_LINE {
    std::int32_t nDate = 0;  // year * 10000 + month * 100 + day
    std::string strUser;
    int nUsedMinutes = 0;
    int nAllowedMinutes = 0;
    int nLocks = 0;
    int nExtraMinutes = 0;
    std::string strProgram;  // "" for the child's day
    bool operator==(const HISTORY_LINE&) const = default;
};

class CHistoryFile {
public:
    static constexpr const char* kFileName = "history.csv";
    static constexpr const char* kHeader = "date,child,minutes used,minutes allowed,locks,extra minutes";
    static constexpr const char* kProgramHeader =
        "date,child,minutes used,minutes allowed,locks,extra minutes,program";

    // Reads the file's lines (none when it is missing); a line that cannot be read is skipped.
    bool Load();
    // Adds the line unless the file has one for that date and child (and program) already, so a
    // day is never written twice, whoever notices its end first. The whole file is replaced in one
    // step, so a crash leaves the old file or the new one. False when it could not be written.
    bool Append(const HISTORY_LINE& line);
    // The same for several lines, written together.
    bool Append(const std::vector<HISTORY_LINE>& lines);
    // Whether the file has the child's line of the date (or the program's, when one is named).
    bool Has(std::int32_t nDate, const std::string& strUser, const std::string& strProgram = std::string()) const;

    const std::vector<HISTORY_LINE>& Lines() const { return m_lines; }

    // One line of the file (without its line end), and back; false for a line that is not one.
    static std::string Format(const HISTORY_LINE& line);
    static bool Parse(const std::string& strText, HISTORY_LINE& line);

private:
    std::vector<HISTORY_LINE> m_lines;
};
