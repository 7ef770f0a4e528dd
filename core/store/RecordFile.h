// Whole data files of fixed-size records: read every complete record, write a complete image.
#pragma once

#include <cstddef>
#include <functional>

#include "core/seams/Files.h"

class CRecordFile {
public:
    // Reads the data file named (in the data folder). False when it cannot be opened or is empty;
    // otherwise each complete record is handed over in file order and a trailing fragment shorter
    // than one record (a file cut short) is dropped.
    static bool Load(const char* pszFile, std::size_t nRecordSize,
                     const std::function<void(const BYTES& bytes, std::size_t nOffset)>& onRecord);
    // Reads the whole data file; false when it cannot be opened or is empty.
    static bool ReadAll(const char* pszFile, BYTES& bytes);
    // Replaces the data file with the image in one step; false (old file whole) on any failure.
    // With a guard (core/seams/DataGuard.h) the image goes to it, which checks it and writes it.
    static bool Save(const char* pszFile, const BYTES& bytes);
    // Replaces the file here, whatever guard there is: the guard's own way of writing.
    static bool SaveHere(const char* pszFile, const BYTES& bytes);
};
