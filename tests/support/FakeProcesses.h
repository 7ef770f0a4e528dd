// Programs that run only in the test: a list of processes with their files, the one in front,
// and what happens when a rule asks one to close (it goes, unless it ignores the request) or ends
// it (it goes). Every close and end is written down. Installed while the object lives.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/seams/Processes.h"

class CFakeProcesses final : public IProcesses {
public:
    struct PROCESS {
        std::uint32_t nPid = 0;
        std::string strImage;
        std::string strPath;
        std::string strOriginal;    // the version information's original name
        bool bIgnoresClose = false;  // stays when its windows are asked to close
        std::string strTitle;        // its window's title ("" for none)
    };

    CFakeProcesses() { CProcesses::Use(this); }
    ~CFakeProcesses() override { CProcesses::Use(nullptr); }
    CFakeProcesses(const CFakeProcesses&) = delete;
    CFakeProcesses& operator=(const CFakeProcesses&) = delete;

    // Starts a program from C:\Games\ (or the path given); its process id.
    std::uint32_t Start(const std::string& strImage, std::string strPath = std::string(), bool bIgnoresClose = false,
                        std::string strOriginal = std::string()) {
        PROCESS process;
        process.nPid = m_nNextPid;
        m_nNextPid += 4;
        process.strImage = strImage;
        process.strPath = strPath.empty() ? "C:\\Games\\" + strImage : std::move(strPath);
        process.strOriginal = std::move(strOriginal);
        process.bIgnoresClose = bIgnoresClose;
        process.strTitle = strImage + " window";
        m_processes.push_back(process);
        m_newWindows.push_back(process.nPid);
        return process.nPid;
    }
    // Other programs, as a busy machine runs them.
    void StartMany(int nCount) {
        for (int n = 0; n < nCount; ++n) Start("service" + std::to_string(n) + ".exe", "C:\\Windows\\System32\\x.exe");
    }
    void Front(std::uint32_t nPid) { m_nFront = nPid; }
    // The process runs without a window (a program's helper, a console game).
    void HasNoWindow(std::uint32_t nPid) {
        std::erase(m_newWindows, nPid);
        for (PROCESS& p : m_processes)
            if (p.nPid == nPid) p.strTitle.clear();
    }
    bool IsRunning(std::uint32_t nPid) const {
        return std::any_of(m_processes.begin(), m_processes.end(), [nPid](const PROCESS& p) { return p.nPid == nPid; });
    }
    void Quit(std::uint32_t nPid) {
        std::erase_if(m_processes, [nPid](const PROCESS& p) { return p.nPid == nPid; });
        if (m_nFront == nPid) m_nFront = 0;
    }
    // The window of a process, by the window handle's value the desktop lock asks about.
    void OwnWindow(std::uint64_t nWindow, std::uint32_t nPid) { m_windows[nWindow] = nPid; }

    void List(std::vector<PROCESS_ENTRY>& processes) override {
        processes.resize(m_processes.size());
        for (std::size_t n = 0; n < m_processes.size(); ++n) {
            processes[n].nPid = m_processes[n].nPid;
            processes[n].strImage = m_processes[n].strImage;
        }
    }
    std::uint32_t ForegroundProcess() override { return m_nFront; }
    void TakeNewWindowProcesses(std::vector<std::uint32_t>& processes) override {
        processes.swap(m_newWindows);
        m_newWindows.clear();
    }
    std::string PathOf(std::uint32_t nPid) override {
        if (nPid == kOwnPid) return "C:\\Program Files\\Quenby\\Quenby.exe";
        const PROCESS* p = Find(nPid);
        return p ? p->strPath : std::string();
    }
    std::string OriginalNameOf(const std::string& strPath) override {
        for (const PROCESS& p : m_processes)
            if (p.strPath == strPath) return p.strOriginal;
        return {};
    }
    int CloseWindows(std::uint32_t nPid) override {
        m_calls.push_back("close " + std::to_string(nPid));
        const PROCESS* p = Find(nPid);
        if (!p) return 0;
        if (!p->bIgnoresClose) Quit(nPid);
        return 1;
    }
    bool End(std::uint32_t nPid) override {
        m_calls.push_back("end " + std::to_string(nPid));
        const bool bRunning = IsRunning(nPid);
        Quit(nPid);
        return bRunning;
    }
    std::uint32_t ProcessOfWindow(std::uint64_t nWindow) override {
        const auto it = m_windows.find(nWindow);
        return it == m_windows.end() ? 0 : it->second;
    }
    std::vector<PROGRAM_WINDOW> Windows() override {
        std::vector<PROGRAM_WINDOW> windows;
        for (const PROCESS& p : m_processes)
            if (!p.strTitle.empty()) windows.push_back({p.nPid, p.strImage, p.strPath, p.strTitle});
        return windows;
    }
    std::string WindowsFolder() override { return m_strWindowsFolder; }
    std::uint32_t OwnProcess() override { return kOwnPid; }

    static constexpr std::uint32_t kOwnPid = 4;
    std::vector<PROCESS> m_processes;
    std::vector<std::string> m_calls;
    std::string m_strWindowsFolder = "C:\\Windows\\";

private:
    const PROCESS* Find(std::uint32_t nPid) const {
        for (const PROCESS& p : m_processes)
            if (p.nPid == nPid) return &p;
        return nullptr;
    }

    std::uint32_t m_nNextPid = 1000;
    std::uint32_t m_nFront = 0;
    std::vector<std::uint32_t> m_newWindows;  // the processes whose window opened since the last look
    std::map<std::uint64_t, std::uint32_t> m_windows;
};
