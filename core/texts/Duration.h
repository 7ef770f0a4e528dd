// Durations as English phrases ("1 hour 2 minutes 5 seconds"). Parts are never carried over:
// callers split a count of seconds themselves.
#pragma once

#include <string>

// Language 0 gives English; any other the Chinese unit words (code page 936), no blanks.
std::string FormatSeconds(int nSeconds, int nLanguage = 0);
std::string FormatMinSec(int nMinutes, int nSeconds, int nLanguage = 0);
std::string FormatHourMinSec(int nHours, int nMinutes, int nSeconds, int nLanguage = 0);
std::string FormatHourMin(int nHours, int nMinutes, int nLanguage = 0);
