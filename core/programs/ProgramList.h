// The parent's list of one child's programs with rules, as the editor's Programs window shows and
// changes it: add (by a typed name or a running program), remove, minutes per weekday, blocked,
// counts outside the day's limits; saved to programs.lim as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/store/ProgramRuleStore.h"

class CProgramList {
public:
    // The minutes a day a new rule starts with.
    static constexpr std::int32_t kNewRuleMinutes = 60;

    // The child's rules as the store holds them.
    void Load(const CProgramRuleStore& store, const std::string& strUser);
    // A rule for the program (a typed name, or a running program's file and path): "" when it was
    // added, or was there already (then it is the one at *pnIndex too); otherwise why not.
    std::string Add(const std::string& strName, const std::string& strPath, std::size_t* pnIndex = nullptr);
    void Remove(std::size_t n);

    std::size_t Count() const { return m_rules.size(); }
    const PROGRAM_RULE& At(std::size_t n) const { return m_rules.at(n); }
    const std::vector<PROGRAM_RULE>& Rules() const { return m_rules; }

    // nDay 0 = Sunday ... 6; kEveryDay sets all seven.
    static constexpr int kEveryDay = -1;
    void SetMinutes(std::size_t n, int nDay, std::int32_t nMinutes);
    void SetBlocked(std::size_t n, bool bBlocked);
    void SetCountsOutside(std::size_t n, bool bOutside);

    // True when the list differs from what was loaded or last saved.
    bool IsChanged() const { return m_rules != m_saved; }
    // The child's rules become the list's in the store, and the store is written; false (the
    // list kept) when the file could not be written.
    bool Save(CProgramRuleStore& store);

    // The minutes a day the parent chooses from, NO_LIMIT and 0 ("not on this day") first.
    static const std::vector<std::int32_t>& MinuteChoices();
    // "No limit", "Not on this day", "30 min", "1 h", "1 h 30 min".
    static std::string MinutesText(std::int32_t nMinutes);
    // The rule's week in words: "Blocked", "30 min every day", "Sun 1 h, Mon 30 min, ...".
    static std::string WeekText(const PROGRAM_RULE& rule);
    // What the rules give on a weekday, for the day's preview: "game.exe 30 min; chess.exe
    // blocked; word.exe no limit, outside the day's limits" ("" without rules).
    static std::string DayText(const std::vector<PROGRAM_RULE>& rules, int nWeekday);

private:
    std::string m_strUser;
    std::vector<PROGRAM_RULE> m_rules;
    std::vector<PROGRAM_RULE> m_saved;
};
