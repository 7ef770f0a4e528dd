// What the attack scenarios and the soak share: the processes a child would end or suspend, the
// wait for the program to be back locked, and the checks after each attack (whole data files, the
// day's use as stored).
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "core/seams/DataFolder.h"
#include "core/store/UsageStore.h"
#include "E2eSupport.h"
#include "ProgramUnderTest.h"

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
inline void SuspendProcess(DWORD nPid, bool bSuspend) {
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE) return;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = ::Thread32First(hSnapshot, &entry); bMore; bMore = ::Thread32Next(hSnapshot, &entry)) {
        if (entry.th32OwnerProcessID != nPid) continue;
        if (HANDLE hThread = ::OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
            bSuspend ? ::SuspendThread(hThread) : ::ResumeThread(hThread);
            ::CloseHandle(hThread);
        }
    }
    ::CloseHandle(hSnapshot);
}

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
