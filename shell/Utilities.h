// Small helpers shared by every part: fixed-width text fields and text, file and date tests.
// (The Win32 helpers live beside them in WinUtilities.h.)
#pragma once

#include <cstddef>
#include <string>

#include "seams/Clock.h"

// Writes text into a fixed-width record field: the whole field is filled with 0xCC, then at most
// nWidth - 1 bytes of the text follow with one zero byte after them. Returns the text bytes copied.
int CopyToField(const std::string& strText, void* pField, std::size_t nWidth);

// The text of a fixed-width field read back: it ends at the first zero byte (or the field's end).
std::string ReadField(const void* pField, std::size_t nWidth);

// The text exactly as a field of nWidth bytes will give it back once stored: cut to nWidth - 1
// bytes and ended at its first zero byte. Names are compared in this form, so two texts that
// would be stored alike are treated as the same name.
std::string FieldText(const std::string& strText, std::size_t nWidth);

// True when both times fall on the same local date (year, month and day of month).
bool IsSameDay(TIMESECS a, TIMESECS b);

// Number of non-overlapping CR LF pairs in the text.
int CountLineBreaks(const std::string& strText);

// Size of the file in bytes, or -1 when its status cannot be read (a missing file).
int GetFileSize(const std::string& strPath);

// Diagnostic texts go nowhere: nothing is logged. Always returns 1.
int Trace(const char* pszText);
