// The end of a child's day written to history.csv: at midnight from the logged-in child's usage,
// and at the next start after it (the program's or a login) from what use.sta and extra.tim keep.
// Each day is written once: the file is asked first.
#pragma once

#include <string>
#include <vector>

#include "core/seams/Clock.h"

class CDataStore;
class CDayPrj;
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

class CDayHistory {
public:
    // The minutes a day's arrangement allows: none when forbidden, the whole day when free,
    // otherwise the least of the total and the period's length (the whole day without either).
    static int AllowedMinutes(const CDayPrj& day);

    // The day the context holds has ended (midnight seen by the logged-in child).
    static bool CloseDay(const CUsageContext& context);
    // Every child whose usage was last saved before today gets that day's line, unless it is in
    // the file already. Reloads use.sta, prj.nam and extra.tim first. False when a line could not
    // be written (the next start tries again: use.sta still holds the day).
    static bool CloseEndedDays(CDataStore& store, TIMESECS tNow);

    // The user's last nDays days up to today, oldest first, from history.csv and, for today, from
    // use.sta and today's arrangement (the stores are read as they are).
    static std::vector<CHART_DAY> LastDays(const CDataStore& store, const std::string& strUser, TIMESECS tNow,
                                           int nDays = 28);
};
