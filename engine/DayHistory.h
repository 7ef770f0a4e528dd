// The end of a child's day written to history.csv: at midnight from the logged-in child's usage,
// and at the next start after it (the program's or a login) from what use.sta and extra.tim keep.
// Each day is written once: the file is asked first.
#pragma once

#include "seams/Clock.h"

class CDataStore;
class CDayPrj;
class CUsageContext;
struct HISTORY_LINE;

class CDayHistory {
public:
    // The minutes a day's arrangement allows: none when forbidden, the whole day when free,
    // otherwise the least of the total and the period's length (the whole day without either).
    static int AllowedMinutes(const CDayPrj& day);

    // The day the context holds has ended (midnight seen by the logged-in child).
    static bool CloseDay(const CUsageContext& context);
    // Every child whose usage was last saved before today gets that day's line, unless it is in
    // the file already. Reloads use.sta, prj.nam and extra.tim first.
    static void CloseEndedDays(CDataStore& store, TIMESECS tNow);
};
