// The parent's limits per program, kept in programs.lim in the data folder (548 bytes a rule):
// for a child and a program (its file name, "game.exe"), the minutes it may be used on each
// weekday, or blocked, and whether it counts outside the day's limits (homework).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

struct PROGRAM_RULE {
    static constexpr std::int32_t NO_LIMIT = -1;
    static constexpr std::int32_t kMostMinutes = 24 * 60;
    // nFlags
    static constexpr std::int32_t FLAG_BLOCKED = 1;  // never, whatever the minutes say
    static constexpr std::int32_t FLAG_OUTSIDE = 2;  // counts outside the day's limits
    static constexpr std::int32_t kKnownFlags = FLAG_BLOCKED | FLAG_OUTSIDE;

    std::string strUser;
    std::string strProgram;  // the program file's name, compared without regard to case
    std::string strPath;     // where the parent saw it running; "" when the name was typed
    // Minutes a day, Sunday first: 0 not on that day, NO_LIMIT none.
    std::array<std::int32_t, 7> nMinutes{NO_LIMIT, NO_LIMIT, NO_LIMIT, NO_LIMIT, NO_LIMIT, NO_LIMIT, NO_LIMIT};
    std::int32_t nFlags = 0;

    bool IsBlocked() const { return (nFlags & FLAG_BLOCKED) != 0; }
    bool CountsOutside() const { return (nFlags & FLAG_OUTSIDE) != 0; }
    // The seconds of use the rule allows on the weekday (0 = none), or NO_LIMIT.
    std::int32_t AllowedSecs(int nWeekday) const;
    bool operator==(const PROGRAM_RULE&) const = default;
};

// Program file names are the same when they differ only in the case of their letters, as
// Windows has them.
bool SameProgramName(const std::string& a, const std::string& b);

class CProgramRuleStore {
public:
    static constexpr const char* kFileName = "programs.lim";
    static constexpr std::size_t kNameSize = 128;
    static constexpr std::size_t kProgramSize = 128;
    static constexpr std::size_t kPathSize = 260;
    static constexpr std::size_t kRecordSize = kNameSize + kProgramSize + kPathSize + 7 * 4 + 4;

    // Replaces the list with the file's rules (restored from the copy when the file is damaged);
    // false (list untouched) when there is neither. A trailing fragment shorter than a record is
    // dropped; minutes out of range are read as the nearest value that means something.
    bool Load();
    // Replaces the file with the list in one step (and its copy); false (old file whole) on failure.
    bool Save() const;

    // The child's rules in file order (names compared as stored).
    std::vector<PROGRAM_RULE> ForUser(const std::string& strUser) const;
    // The child's rules become these, in this order.
    void ReplaceUser(const std::string& strUser, const std::vector<PROGRAM_RULE>& rules);
    void RemoveUser(const std::string& strUser);

    const std::list<PROGRAM_RULE>& GetList() const { return m_list; }

private:
    std::list<PROGRAM_RULE> m_list;
};
