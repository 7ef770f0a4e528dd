// What the editor's day controls hold, as plain data: the checks before a day is saved or left,
// and the writing of the controls into a day arrangement. No window is needed for either.
#pragma once

#include <array>
#include <string>
#include <vector>

class CDayPrj;
class CPrjStore;

// The usage radio buttons.
enum { USAGE_CONDITIONAL = 0, USAGE_FORBID = 1, USAGE_FREE = 2 };

struct DAY_CONTROLS {
    int nUsage = USAGE_CONDITIONAL;
    int bRest = 0, nRestEvery = 0, nRestMinutes = 0;
    int bTotal = 0, nTotalHours = 0, nTotalMinutes = 0;
    int bPeriod = 0, nStartHour = 0, nStartMinute = 0, nEndHour = 0, nEndMinute = 0;
};

// Where the focus goes after a refusal.
enum class DAY_FOCUS { NONE, REST_CHECK, TOTAL_MINUTES, START_HOUR };

struct DAY_CHECK {
    bool bValid = true;
    unsigned nTextId = 0;  // the message to show when not valid
    DAY_FOCUS focus = DAY_FOCUS::NONE;
};

// Passes at once without a user or for a day that is not conditional; otherwise refuses, in this
// order, no limit chosen (text 184), a total of 0 (text 188) and a period that does not start
// before it ends (text 186).
DAY_CHECK CheckDayControls(const DAY_CONTROLS& controls, bool bHasUser);

// Writes the controls into the day: the mode flags and limit flags are cleared first, then set by
// the usage; a ticked limit takes its numbers, an unticked one keeps its old numbers.
void ApplyDayControls(const DAY_CONTROLS& controls, CDayPrj& day);

// "Save for...": the controls written into each chosen weekday of each chosen child's week, as
// ApplyDayControls writes one day. Children without a week are skipped. Returns how many days
// were written; the store is not saved.
int ApplyDayControlsTo(const DAY_CONTROLS& controls, CPrjStore& store, const std::vector<std::string>& users,
                       const std::array<bool, 7>& days);
// What the parent is told afterwards, e.g. "Saved to Monday and Friday for Tom and Ann."
std::string SavedForText(const std::vector<std::string>& users, const std::array<bool, 7>& days, int nWritten);
