// Extra time granted on the spot: how much each choice gives, and how it is told.
#pragma once

#include <string>

#include "core/seams/Clock.h"

struct USAGE_RECORD;

enum class EXTRA_GRANT { MINUTES_15, MINUTES_30, HOUR_1, REST_OF_DAY };

// Seconds of use a grant made at tNow gives; "the rest of today" gives the seconds to midnight.
int ExtraGrantSeconds(EXTRA_GRANT grant, TIMESECS tNow);
// The choice as the dialog and the event log name it: "+15 min", ..., "the rest of today".
std::string ExtraGrantName(EXTRA_GRANT grant);
// The status window's line, e.g. "Extra time today: 00:25:00 left"; empty without extra time.
std::string ExtraTimeLine(int nSecsLeft);
// Whether the lock screen offers "Ask for more time" for a child: the child's usage, saved
// today, stands locked by the day's total or outside the permitted period.
bool MayAskForMoreTime(const USAGE_RECORD* pRecord, TIMESECS tNow);
// The local date of a time as year * 10000 + month * 100 + day.
int DateKey(TIMESECS t);
