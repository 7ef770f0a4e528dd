// Performance figures of the real program under Wine: start-up beside the floor of a minimal
// window program, and, with a child logged in, CPU and private memory, counting accuracy and the
// latency of a lock. Prints a Markdown table.
//   perf_driver [--runs N] [--cpu-minutes M] [--count-minutes M]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/seams/DataFolder.h"
#include "core/store/AdminAccount.h"
#include "core/store/ChildAccountList.h"
#include "core/store/PasswordField.h"
#include "core/store/PrjStore.h"
#include "E2eSupport.h"
#include "ProgramUnderTest.h"
#include "resources/resource.h"

namespace {

double Seconds() {
    static LARGE_INTEGER s_frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(s_frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

CDayPrj OneMinuteDay() {
    CDayPrj day;
    day.ClearLimits();
    day.m_bTotalLimit = 1;
    day.m_nTotalHours = 0;
    day.m_nTotalMinutes = 1;
    return day;
}

// Seconds from CreateProcess to a visible window holding control 1005 (the lock screen's Login
// button; the floor program has one too). Negative when it never appeared.
double TimeToLoginButton(CProgramUnderTest& program, const std::string& strExe) {
    const double tStart = Seconds();
    const DWORD nPid = program.Start(strExe);
    if (!nPid) return -1;
    for (;;) {
        if (program.WaitForWindow(IDC_LOCK_LOGIN, 0, nPid)) return Seconds() - tStart;
        if (Seconds() - tStart > 30) return -1;
        ::Sleep(2);
    }
}

double CpuSeconds(HANDLE hProcess) {
    FILETIME create, exit, kernel, user;
    if (!::GetProcessTimes(hProcess, &create, &exit, &kernel, &user)) return 0;
    auto toSeconds = [](const FILETIME& ft) {
        return static_cast<double>((static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 1e7;
    };
    return toSeconds(kernel) + toSeconds(user);
}

// The process's private bytes; Wine leaves PrivateUsage at 0, and then the committed bytes
// (PagefileUsage), which are the same private memory, stand in.
double PrivateMiB(HANDLE hProcess) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return 0;
    const SIZE_T nBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return static_cast<double>(nBytes) / (1024.0 * 1024.0);
}

// True when window a is visible and stands in front of window b in the Z-order.
bool IsAbove(HWND a, HWND b) {
    if (!::IsWindowVisible(a)) return false;
    for (HWND h = ::GetTopWindow(nullptr); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h == a) return true;
        if (h == b) return false;
    }
    return false;
}

int ArgValue(int argc, char** argv, const char* pszName, int nDefault) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], pszName) == 0) return std::atoi(argv[i + 1]);
    return nDefault;
}

}  // namespace

int main(int argc, char** argv) {
    const int nRuns = ArgValue(argc, argv, "--runs", 10);
    const int nCpuMinutes = ArgValue(argc, argv, "--cpu-minutes", 5);
    const int nCountMinutes = ArgValue(argc, argv, "--count-minutes", 10);
    std::printf("| Figure | Value |\n|---|---|\n");

    // One password hashed as the program hashes it (CNG's PBKDF2), which is also what checking a
    // password at the lock screen costs.
    std::vector<double> hashTimes;
    for (int i = 0; i < 5; ++i) {
        char field[CPasswordField::kSize];
        const double tStart = Seconds();
        CPasswordField::Store("correct horse battery", field);
        hashTimes.push_back(Seconds() - tStart);
    }
    std::printf("| one password hash (PBKDF2-HMAC-SHA256, %u iterations), median of 5 | %.0f ms |\n",
                static_cast<unsigned>(CPasswordField::kIterations), Median(hashTimes) * 1000);

    // Start-up: median of the runs, Quenby to its lock screen and the floor program to its window.
    std::vector<double> floorTimes, quenbyTimes;
    for (int i = 0; i < nRuns; ++i) {
        {
            CProgramUnderTest program;
            std::string strFloor = program.Folder() + "FloorWindow.exe";
            char szSelf[MAX_PATH] = {};
            ::GetModuleFileNameA(nullptr, szSelf, MAX_PATH);
            std::string strSelfDir(szSelf);
            strSelfDir.erase(strSelfDir.find_last_of('\\') + 1);
            ::CopyFileA((strSelfDir + "FloorWindow.exe").c_str(), strFloor.c_str(), FALSE);
            floorTimes.push_back(TimeToLoginButton(program, "FloorWindow.exe"));
            if (i == 0) {
                // What Wine itself costs a window program: the floor's private memory.
                for (DWORD nPid : program.FindProcesses("FloorWindow.exe")) {
                    HANDLE hFloor = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, nPid);
                    if (!hFloor) continue;
                    ::Sleep(1000);
                    std::printf("| private memory of the floor program | %.1f MiB |\n", PrivateMiB(hFloor));
                    ::CloseHandle(hFloor);
                }
            }
        }
        {
            CProgramUnderTest program;
            PrepareFamily(program, FreeDay());
            quenbyTimes.push_back(TimeToLoginButton(program, "Quenby.exe"));
        }
    }
    const double tFloor = Median(floorTimes), tQuenby = Median(quenbyTimes);
    if (nRuns > 0) std::printf("| start-up to the lock screen, median of %d | %.0f ms |\n", nRuns, tQuenby * 1000);
    if (nRuns > 0) {
        std::printf("| minimal window program (floor), median of %d | %.0f ms |\n", nRuns, tFloor * 1000);
        std::printf("| ratio to the floor | %.1f |\n", tFloor > 0 ? tQuenby / tFloor : 0.0);
    }
    std::fflush(stdout);

    // A child logged in on a free day: CPU, memory and counting against the wall clock.
    if (nCountMinutes > 0) {
        CProgramUnderTest program;
        PrepareFamily(program, FreeDay());
        const DWORD nPid = program.Start();
        HWND hStatus = LogIn(program, nPid, "kid", "", 20000);
        HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, nPid);
        if (!hStatus || !hProcess) {
            std::printf("| child logged in | could not log in |\n");
        } else {
            ::Sleep(3000);  // let the start-up work settle
            const int nUsed0 = UsedSecondsShown(hStatus);
            const double tWall0 = Seconds(), tCpu0 = CpuSeconds(hProcess);
            double dMaxPrivate = PrivateMiB(hProcess), tCpu1 = tCpu0;
            while (Seconds() - tWall0 < nCountMinutes * 60.0) {
                ::Sleep(1000);
                dMaxPrivate = std::max(dMaxPrivate, PrivateMiB(hProcess));
                if (Seconds() - tWall0 <= nCpuMinutes * 60.0) tCpu1 = CpuSeconds(hProcess);
            }
            const double dWall = Seconds() - tWall0;
            const int nCounted = UsedSecondsShown(hStatus) - nUsed0;
            std::printf("| CPU while a child is logged in (%d min) | %.2f s per minute |\n", nCpuMinutes,
                        (tCpu1 - tCpu0) / nCpuMinutes);
            std::printf("| private memory while a child is logged in (peak) | %.1f MiB |\n", dMaxPrivate);
            std::printf("| used seconds counted over %.0f s of wall time | %d (drift %+.0f s, %+.2f%%) |\n", dWall,
                        nCounted, nCounted - dWall, 100.0 * (nCounted - dWall) / dWall);
        }
        if (hProcess) ::CloseHandle(hProcess);
    }
    std::fflush(stdout);

    // Lock latency: a one-minute allowance runs out; from the tick that shows the full minute to
    // the curtain topmost with the status window in front.
    {
        CProgramUnderTest program;
        PrepareFamily(program, OneMinuteDay());
        const DWORD nPid = program.Start();
        program.WaitForWindow(IDC_LOCK_LOGIN, 20000, nPid);
        HWND hCurtain = FindCurtain(nPid);  // found while it covers the screen, before the login
        HWND hStatus = LogIn(program, nPid, "kid", "", 20000);
        double tReached = -1, tLocked = -1;
        const double tBegin = Seconds();
        while (hStatus && hCurtain && Seconds() - tBegin < 120) {
            if (tReached < 0 && UsedSecondsShown(hStatus) >= 60) tReached = Seconds();
            if (tReached >= 0 && IsAbove(hStatus, hCurtain) && IsCurtainUp(hCurtain)) {
                tLocked = Seconds();
                break;
            }
            ::Sleep(1);
        }
        if (tLocked >= 0)
            std::printf("| lock latency (limit reached to curtain up, status in front) | %.0f ms |\n",
                        (tLocked - tReached) * 1000);
        else
            std::printf("| lock latency | not observed (status window found %d, curtain found %d) |\n",
                        hStatus != nullptr, hCurtain != nullptr);
    }
    return 0;
}
