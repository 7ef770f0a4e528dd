// Shared body of the data-file fuzz targets: the input becomes the file in a private data folder,
// is loaded and saved; saving what was loaded must then be stable (a second load and save writes
// the same bytes), or the run stops.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <unistd.h>

#include "core/seams/DataFolder.h"
#include "core/seams/Files.h"

namespace fuzz {

// A data folder of this process, in memory-backed storage when there is some.
inline const std::filesystem::path& Folder() {
    static const std::filesystem::path s_path = [] {
        std::error_code ec;
        std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
        std::filesystem::path path = base / ("quenby-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        CDataFolder::Use((path / "").string());
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return path;
    }();
    return s_path;
}

inline BYTES ReadFile(const char* pszName) {
    std::ifstream in(Folder() / pszName, std::ios::binary);
    return BYTES(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const char* pszName, const std::uint8_t* pData, std::size_t nSize) {
    std::ofstream out(Folder() / pszName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
}

// Writes the input as the file, then loads and saves it twice with fresh objects of type T.
template <typename T>
void LoadAndSave(const char* pszName, const std::uint8_t* pData, std::size_t nSize) {
    Folder();
    WriteFile(pszName, pData, nSize);
    {
        T data;
        data.Load();
        if (!data.Save()) std::abort();
    }
    const BYTES first = ReadFile(pszName);
    {
        T data;
        data.Load();
        if (!data.Save()) std::abort();
    }
    if (ReadFile(pszName) != first) {
        std::fprintf(stderr, "saving what was loaded is not stable for %s\n", pszName);
        std::abort();
    }
}

}  // namespace fuzz
