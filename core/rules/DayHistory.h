// The end of a child's day written to history.csv: at midnight from the logged-in child's usage,
// and at the next start after it (the program's or a login) from what use.sta and extra.tim keep.
// Each day is written once: the file is asked first.
#pragma once

#include <string>
#include <vector>

#include "core/seams/Clock.h"

class CDataStore;
class CDayPrj;
class CProgramRuleStore;
class CProgramUseStore;
class CUsageContext;
struct HISTORY_LINE;

// One day of the history chart.
struct CHART_DAY {
    int nDate = 0;             // year * 10000 + month * 100 + day
    int nUsedMinutes = 0;
    int nAllowedMinutes = 0;
    bool bKnown = false;       // the day has a line (or is today with use saved)
    bool bToday = false;
};

// One program's day of a child, for the history window.
struct PROGRAM_DAY {
    int nDate = 0;             // year * 10000 + month * 100 + day
    std::string strProgram;
    int nUsedMinutes = 0;
    int nAllowedMinutes = -1;  // -1 for no limit
    int nEndings = 0;          // times its rule closed or ended it
    bool bToday = false;
    bool operator==(const PROGRAM_DAY&) const = default;
};

class CDayHistory {
public:
    // The minutes a day's arrangement allows: none when forbidden, the whole day when free,
    // otherwise the least of the total and the period's length (the whole day without either).
    static int AllowedMinutes(const CDayPrj& day);

    // The day the context holds has ended (midnight seen by the logged-in child).
    static bool CloseDay(const CUsageContext& context);
    // Every child whose usage was last saved before today gets that day's line, unless it is in
    // the file already, and so does every program's day before today. Reloads use.sta, prj.nam,
    // extra.tim, programs.lim and programs.use first. False when a line could not be written (the
    // next start tries again: use.sta and programs.use still hold the day).
    static bool CloseEndedDays(CDataStore& store, TIMESECS tNow);
    // Each program's day before nToday (of the child; of every child when strUser is empty) gets
    // its line unless the file has it; the minutes allowed are the rule's as it stands. Then
    // programs.use forgets the days before nToday that the history holds (or that hold nothing).
    // False when the history or programs.use could not be written.
    static bool CloseProgramDays(const CProgramRuleStore& rules, CProgramUseStore& use, int nToday,
                                 const std::string& strUser = std::string());

    // The user's last nDays days up to today, oldest first, from history.csv and, for today, from
    // use.sta and today's arrangement (the stores are read as they are).
    static std::vector<CHART_DAY> LastDays(const CDataStore& store, const std::string& strUser, TIMESECS tNow,
                                           int nDays = 28);
    // The child's programs on the last nDays days up to today, newest day first and the programs
    // of a day by name: from history.csv and, for today, from programs.use (read as it is).
    static std::vector<PROGRAM_DAY> ProgramDays(const CDataStore& store, const std::string& strUser, TIMESECS tNow,
                                                int nDays = 28);
};
