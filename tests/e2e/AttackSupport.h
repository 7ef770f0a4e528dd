// What the attack scenarios and the soak share: the processes a child would end or suspend, the
// wait for the program to be back locked, the checks after each attack (whole data files, the
// day's use as stored), and what a program of the child's would write or send: the companion's
// state, a forged heartbeat, messages to the curtain, a start under another time zone.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "core/seams/DataFolder.h"
#include "core/store/UsageStore.h"
#include "E2eSupport.h"
#include "ProgramUnderTest.h"
#include "platform/win32/ThreadSuspension.h"

// The process and every process below it (by parent id), as Task Manager's "End process tree" ends them.
inline std::vector<DWORD> ProcessTree(DWORD nRoot) {
    std::vector<DWORD> tree{nRoot};
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE) return tree;
    std::vector<PROCESSENTRY32> all;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = ::Process32First(hSnapshot, &entry); bMore; bMore = ::Process32Next(hSnapshot, &entry))
        all.push_back(entry);
    ::CloseHandle(hSnapshot);
    for (size_t i = 0; i < tree.size(); ++i)
        for (const PROCESSENTRY32& e : all)
            if (e.th32ParentProcessID == tree[i] && e.th32ProcessID != tree[i]) tree.push_back(e.th32ProcessID);
    return tree;
}

// Suspends (or resumes) every thread of a process, as a process tool does.
inline void SuspendProcess(DWORD nPid, bool bSuspend) { SuspendThreadsOf(nPid, bSuspend); }

// Waits until the process shows its lock screen in front of its raised curtain; the milliseconds
// since tSince, or -1 when that did not happen within the time given.
inline long WaitLocked(const CProgramUnderTest& program, DWORD nPid, DWORD tSince, DWORD nMilliseconds) {
    while (::GetTickCount() - tSince < nMilliseconds) {
        HWND hCurtain = FindCurtain(nPid);
        if (hCurtain && IsCurtainUp(hCurtain) && program.WaitForWindow(IDC_LOCK_LOGIN, 0, nPid))
            return static_cast<long>(::GetTickCount() - tSince);
        ::Sleep(5);
    }
    return -1;
}

// The data files of the program and their record sizes.
struct DATA_FILE {
    const char* pszName;
    size_t nRecordSize;
};
inline constexpr DATA_FILE kDataFiles[] = {
    {"parent.nam", 200}, {"child.nam", 172}, {"prj.nam", 520},
    {"use.sta", 220},    {"userinfo.aur", 128}, {"winnodes.tmp", 184},
};

// The first data file present that is not made of whole records (parent.nam is exactly one);
// "" when every one is whole.
inline std::string TornFile(const CProgramUnderTest& program) {
    for (const DATA_FILE& file : kDataFiles) {
        if (!program.FileExists(file.pszName)) continue;
        const size_t nSize = program.ReadFile(file.pszName).size();
        const bool bWhole = std::string(file.pszName) == "parent.nam" ? nSize == 200 : nSize % file.nRecordSize == 0;
        if (!bWhole) return std::string(file.pszName) + " (" + std::to_string(nSize) + " bytes)";
    }
    return {};
}

// The controller's curtain of the process, found as a child's program finds it: a dialog window
// titled "Quenby".
inline HWND ControllerOf(DWORD nPid) {
    for (HWND hWnd = ::FindWindowExA(nullptr, nullptr, "#32770", "Quenby"); hWnd;
         hWnd = ::FindWindowExA(nullptr, hWnd, "#32770", "Quenby")) {
        DWORD nOwner = 0;
        ::GetWindowThreadProcessId(hWnd, &nOwner);
        if (nOwner == nPid) return hWnd;
    }
    return nullptr;
}

// The companion library's file: a tag of 8 bytes, then the state (int32), then the path.
constexpr size_t kStoredStateOffset = 8;

inline int StoredState(const CProgramUnderTest& program) {
    const BYTES bytes = program.ReadFile("lumrik.dat");
    int nState = -1;
    if (bytes.size() >= kStoredStateOffset + 4) std::memcpy(&nState, bytes.data() + kStoredStateOffset, 4);
    return nState;
}

// Writes a state into the companion library's file, as any program of the account may.
inline bool ForgeStoredState(const CProgramUnderTest& program, int nState) {
    BYTES bytes = program.ReadFile("lumrik.dat");
    if (bytes.size() < kStoredStateOffset + 4) return false;
    std::memcpy(bytes.data() + kStoredStateOffset, &nState, 4);
    std::ofstream out(program.PathOf("lumrik.dat"), std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())));
}

// The heartbeat file as the library writes it: count, process id, wall-clock time, the child
// (64 bytes), the zone (400 bytes), then a check sum over those 480 bytes.
constexpr size_t kBeatUserOffset = 16;
constexpr size_t kBeatSize = 480;

inline std::string BeatUser(const CProgramUnderTest& program) {
    const BYTES bytes = program.ReadFile("lumrik.hb");
    if (bytes.size() < kBeatUserOffset + 64) return "?";
    return std::string(reinterpret_cast<const char*>(bytes.data() + kBeatUserOffset)).substr(0, 63);
}

// A heartbeat naming another process, as a program that read the library's source would forge it.
inline bool ForgeBeat(const CProgramUnderTest& program, DWORD nPid, long long tWall) {
    static std::uint32_t s_nCount = 1000;
    BYTES bytes(kBeatSize + 4, 0);
    const std::uint32_t nCount = ++s_nCount, nPid32 = nPid;
    std::memcpy(bytes.data(), &nCount, 4);
    std::memcpy(bytes.data() + 4, &nPid32, 4);
    std::memcpy(bytes.data() + 8, &tWall, 8);
    std::uint32_t nSum = 0x51u;
    for (size_t i = 0; i < kBeatSize; ++i) nSum = nSum * 31u + bytes[i];
    std::memcpy(bytes.data() + kBeatSize, &nSum, 4);
    // In place, as the library writes it, while the program holds the file open.
    std::ofstream out(program.PathOf("lumrik.hb"), std::ios::binary | std::ios::in | std::ios::out);
    if (!out) out.open(program.PathOf("lumrik.hb"), std::ios::binary | std::ios::out);
    return static_cast<bool>(out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())));
}

// The wall clock as the program's heartbeat carries it (UTC seconds).
inline long long WallSeconds() {
    FILETIME ft{};
    ::GetSystemTimeAsFileTime(&ft);
    const unsigned long long n = (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<long long>((n - 116444736000000000ULL) / 10000000ULL);
}

// A POSIX TZ text for a zone of that many minutes east of UTC ("QZA-5:30" is UTC+5:30).
inline std::string UnixZone(int nMinutesEast) {
    const int n = nMinutesEast < 0 ? -nMinutesEast : nMinutesEast;
    return std::string("QZA") + (nMinutesEast >= 0 ? "-" : "+") + std::to_string(n / 60) + ":" +
           (n % 60 < 10 ? "0" : "") + std::to_string(n % 60);
}

// Starts Quenby.exe of the folder under another Unix time zone, which is the zone Windows' calls
// give a program under Wine: through the Unix env program and Wine's loader. The new program's
// process id, or 0.
inline DWORD StartInZone(const CProgramUnderTest& program, const std::string& strUnixZone) {
    const char* pszLoader = std::getenv("WINELOADER");
    std::string strCommand = "/usr/bin/env TZ=" + strUnixZone + " ";
    strCommand.append(pszLoader && *pszLoader ? pszLoader : "/usr/lib/wine/wine64");
    strCommand.append(" \"").append(program.PathOf("Quenby.exe")).append("\"");
    strCommand.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const std::vector<DWORD> before = program.FindProcesses("Quenby.exe");
    if (!::CreateProcessA("Z:\\usr\\bin\\env", strCommand.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          program.Folder().c_str(), &si, &pi))
        return 0;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    DWORD nFound = 0;
    WaitFor([&] {
        for (DWORD nPid : program.FindProcesses("Quenby.exe"))
            if (std::find(before.begin(), before.end(), nPid) == before.end()) nFound = nPid;
        return nFound != 0;
    }, 20000);
    return nFound;
}
