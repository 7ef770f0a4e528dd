// Fixed-width text fields of the data files: the bottom of the record tools, needing nothing but
// the standard library.
#pragma once

#include <cstddef>
#include <string>

// Writes text into a fixed-width record field: the whole field is filled with 0xCC, then at most
// nWidth - 1 bytes of the text follow with one zero byte after them. Returns the text bytes copied.
int CopyToField(const std::string& strText, void* pField, std::size_t nWidth);

// The text of a fixed-width field read back: it ends at the first zero byte (or the field's end).
std::string ReadField(const void* pField, std::size_t nWidth);

// The text exactly as a field of nWidth bytes will give it back once stored: cut to nWidth - 1
// bytes and ended at its first zero byte. Names are compared in this form, so two texts that
// would be stored alike are treated as the same name.
std::string FieldText(const std::string& strText, std::size_t nWidth);
