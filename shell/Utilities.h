// Small helpers shared by every part: fixed-width text fields and text and date tests.
// (The Win32 helpers live beside them in WinUtilities.h.)
#pragma once

#include <cstddef>
#include <string>

// Writes text into a fixed-width record field: the whole field is filled with 0xCC, then at most
// nWidth - 1 bytes of the text follow with one zero byte after them. Returns the text bytes copied.
int CopyToField(const std::string& strText, void* pField, std::size_t nWidth);

// The text of a fixed-width field read back: it ends at the first zero byte (or the field's end).
std::string ReadField(const void* pField, std::size_t nWidth);
