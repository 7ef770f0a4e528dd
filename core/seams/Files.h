// Whole-file reads and crash-safe whole-file writes of the data files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using BYTES = std::vector<std::uint8_t>;

// What the data files need of a file system. Tests install one that fails on purpose.
class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // Reads the whole file; false (bytes untouched) when it cannot be opened or a read fails, so
    // that a file that could not be read is never taken for a file cut short.
    virtual bool ReadAll(const std::string& strPath, BYTES& bytes) = 0;
    // Writes the complete image to a temporary file beside the target, flushes it and puts it
    // in place in one step, so the target is always either the old or the new file, never torn.
    // False (target untouched) on any failure.
    virtual bool ReplaceAll(const std::string& strPath, const BYTES& bytes) = 0;
    // Size in bytes, or -1 when the file's status cannot be read.
    virtual long long SizeOf(const std::string& strPath) = 0;
};

class CFiles {
public:
    static IFileSystem& Get();
    // Replaces the file system (nullptr: the real one again). Only tests call it.
    static void Use(IFileSystem* pFiles);
};

// The real file system, over the platform's file calls.
IFileSystem& SystemFileSystem();
