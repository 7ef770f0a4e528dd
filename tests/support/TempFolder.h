// A fresh data folder for one test, made the program's data folder while the object lives,
// together with a fresh set of second copies in memory (the data's copies belong to its folder).
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/seams/DataFolder.h"
#include "core/seams/Files.h"
#include "support/MemoryCopies.h"

class CTempFolder {
public:
    CTempFolder() : m_strPreviousFolder(CDataFolder::Get()), m_pPreviousCopies(&CDataCopies::Get()) {
        static std::atomic<int> s_nCount{0};
        m_path = std::filesystem::temp_directory_path() /
                 ("quenby-test-" + std::to_string(Pid()) + "-" + std::to_string(s_nCount++));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
        CDataFolder::Use(Folder());
        CDataCopies::Use(&m_copies);
    }
    // The folder and copies of before come back, so that a scratch folder inside a test leaves
    // the test's own in place.
    ~CTempFolder() {
        CDataCopies::Use(m_pPreviousCopies);
        CDataFolder::Use(m_strPreviousFolder);
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // The folder with its trailing separator, as the data folder is kept.
    std::string Folder() const { return (m_path / "").string(); }
    std::string PathOf(const std::string& strName) const { return (m_path / strName).string(); }

    BYTES Read(const std::string& strName) const {
        std::ifstream in(PathOf(strName), std::ios::binary);
        return BYTES(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Write(const std::string& strName, const BYTES& bytes) const {
        std::ofstream out(PathOf(strName), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    bool Exists(const std::string& strName) const { return std::filesystem::exists(m_path / strName); }
    void Remove(const std::string& strName) const { std::filesystem::remove(m_path / strName); }

    // The second copies of this folder's data files.
    CMemoryCopies m_copies;

private:
    static long Pid();
    std::string m_strPreviousFolder;
    IDataCopies* m_pPreviousCopies;
    std::filesystem::path m_path;
};

#ifdef _WIN32
#include <process.h>
inline long CTempFolder::Pid() { return _getpid(); }
#else
#include <unistd.h>
inline long CTempFolder::Pid() { return static_cast<long>(::getpid()); }
#endif
