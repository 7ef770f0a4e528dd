// The per-second cost of the limits per program in the real program's process, under Wine: the
// guard's tick with Windows' real processes (the process in front and its path every second, the
// list of every process every 30 seconds) with N window programs running besides Wine's own (200
// unless --processes says otherwise) and five rules, one of them the programs started. Seconds
// pass on a clock of the bench's own, one per tick, so that the looks at every process come as
// often as they do in a child's login. Prints the thread's CPU time per second as Markdown rows;
// Wine does part of the work in its server process, which this does not see.
//   program_tick_bench [--processes N] [--ticks T]   (T seconds, 300 unless told)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/programs/ProgramGuard.h"
#include "core/rules/UsageContext.h"
#include "core/store/PrjStore.h"
#include "core/store/ProgramUseStore.h"
#include "core/store/UsageStore.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"

namespace {

int ArgValue(int argc, char** argv, const char* pszName, int nDefault) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], pszName) == 0) return std::atoi(argv[i + 1]);
    return nDefault;
}

double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

}  // namespace

int main(int argc, char** argv) {
    const int nStart = ArgValue(argc, argv, "--processes", 200);
    const int nTicks = ArgValue(argc, argv, "--ticks", 300);
    char szSelf[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szSelf, MAX_PATH);
    std::string strFloor(szSelf);
    strFloor = strFloor.substr(0, strFloor.find_last_of('\\') + 1) + "FloorWindow.exe";

    std::vector<HANDLE> started;
    for (int n = 0; n < nStart; ++n) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string strCommand = "\"" + strFloor + "\"";
        if (!::CreateProcessA(nullptr, strCommand.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) break;
        ::CloseHandle(pi.hThread);
        ::WaitForInputIdle(pi.hProcess, 10000);
        started.push_back(pi.hProcess);
    }

    {
        CTempFolder folder;
        CFakeClock clock(CClock::Now());
        CProgramRuleStore rules;
        std::vector<PROGRAM_RULE> list;
        for (const char* pszProgram : {"FloorWindow.exe", "chess.exe", "word.exe", "paint.exe", "browser.exe"}) {
            PROGRAM_RULE rule;
            rule.strProgram = pszProgram;
            list.push_back(rule);
        }
        rules.ReplaceUser("kid", list);
        rules.Save();
        CPrjStore prjStore;
        CUsageStore usageStore;
        CProgramUseStore use;
        CUsageContext context;
        context.Start("kid", false, prjStore, usageStore);
        CProgramGuard guard(rules, use);
        // The first look at every process (their paths and versions) is the login's, not a second's.
        const double dLoginStart = ThreadCpuMs();
        const DWORD tLoginStart = ::GetTickCount();
        guard.Start("kid");
        std::printf("| the login's first look at every process (paths, version information) | %.1f ms CPU, %lu ms wall |\n",
                    ThreadCpuMs() - dLoginStart, static_cast<unsigned long>(::GetTickCount() - tLoginStart));
        std::vector<PROCESS_ENTRY> seen;
        CProcesses::Get().List(seen);
        const double dStart = ThreadCpuMs();
        const DWORD tStart = ::GetTickCount();
        for (int n = 0; n < nTicks; ++n) {
            clock.Advance(1);
            guard.Tick(1, context);
            guard.LetThrough(context);
            guard.StatusLine();
        }
        const double dCpu = (ThreadCpuMs() - dStart) / nTicks;
        const double dWall = static_cast<double>(::GetTickCount() - tStart) / nTicks;
        const double dListStart = ThreadCpuMs();
        const DWORD tListStart = ::GetTickCount();
        for (int n = 0; n < nTicks; ++n) CProcesses::Get().List(seen);
        std::printf("| one look at every process (every 30 s) | %.3f ms CPU, %.3f ms wall |\n", (ThreadCpuMs() - dListStart) / nTicks,
                    static_cast<double>(::GetTickCount() - tListStart) / nTicks);
        std::printf("| the limits per program each second, %zu processes running (%d started), 5 rules | "
                    "%.3f ms CPU, %.3f ms wall (mean of %d seconds) |\n",
                    seen.size(), static_cast<int>(started.size()), dCpu, dWall, nTicks);
    }

    for (HANDLE hProcess : started) {
        ::TerminateProcess(hProcess, 0);
        ::CloseHandle(hProcess);
    }
    return 0;
}
