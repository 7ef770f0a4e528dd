// Small helpers shared by every part: text, file and date tests. (The fixed-width fields of the
// data files are in core/store/RecordField.h.)
// (The Win32 helpers live beside them in WinUtilities.h.)
#pragma once

#include <cstddef>
#include <string>

#include "core/seams/Clock.h"

// True when both times fall on the same local date (year, month and day of month).
bool IsSameDay(TIMESECS a, TIMESECS b);

// The text without the blanks (space, tab, CR, LF) at either end.
std::string Trimmed(const std::string& strText);

// Number of non-overlapping CR LF pairs in the text.
int CountLineBreaks(const std::string& strText);

// Size of the file in bytes, or -1 when its status cannot be read (a missing file).
int GetFileSize(const std::string& strPath);

// Diagnostic texts go nowhere: nothing is logged. Always returns 1.
int Trace(const char* pszText);
