// The uninstall request: the password prompt, then the guard service stopped (when installed
// with one) and every running Quenby and Tessaly ended.
#include "win/app/Uninstall.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cctype>
#include <sstream>
#include <vector>

#include "companion/CompanionNames.h"
#include "companion/guard/ServiceSetup.h"
#include "core/seams/DataGuard.h"
#include "companion/win32/MyMessenger.h"
#include "core/store/AdminAccount.h"
#include "win/windows/UninstallDlg.h"
#include "platform/win32/ThreadSuspension.h"

namespace {

// Ending is tried for this long (each round ends what runs, then waits a little); a launcher that
// was already starting one of them may bring it back once between two rounds.
constexpr int kEndRounds = 100;
constexpr DWORD kRoundPause = 100;
constexpr DWORD kEndWait = 5000;
constexpr unsigned long kGuardStopWait = 20000;

std::string Lower(std::string strText) {
    for (char& c : strText) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return strText;
}

std::vector<DWORD> ProcessesNamed(const char* pszExe) {
    std::vector<DWORD> pids;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE) return pids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = ::Process32First(hSnapshot, &entry); bMore; bMore = ::Process32Next(hSnapshot, &entry))
        if (Lower(entry.szExeFile) == Lower(pszExe) && entry.th32ProcessID != ::GetCurrentProcessId())
            pids.push_back(entry.th32ProcessID);
    ::CloseHandle(hSnapshot);
    return pids;
}

// Holds every thread of the process, so that it starts nothing more (the program's watchdog
// would start the companion again).
void Suspend(DWORD nPid) { SuspendThreadsOf(nPid); }

void EndProcesses(const std::vector<DWORD>& pids) {
    for (DWORD nPid : pids) {
        HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, nPid);
        if (!hProcess) continue;
        ::TerminateProcess(hProcess, 0);
        ::WaitForSingleObject(hProcess, kEndWait);
        ::CloseHandle(hProcess);
    }
}

// Each brings the other back, and neither takes a stored state for a reason to stay down. So the
// programs are held first, then the companions end (no program is left to start them), then the
// programs (no companion is left to start them). The uninstaller runs while the Administrator is
// logged in, when the lock has put no window away.
bool EndQuenby(CMyMessenger& messenger) {
    for (int nRound = 0; nRound < kEndRounds; ++nRound) {
        const std::vector<DWORD> programs = ProcessesNamed("Quenby.exe");
        for (DWORD nPid : programs) Suspend(nPid);
        const std::vector<DWORD> companions = ProcessesNamed(kCompanionExe);
        EndProcesses(companions);
        EndProcesses(programs);
        if (programs.empty() && companions.empty()) {
            // An orderly end: a later start counts no gap.
            messenger.Beat(0, "");
            return true;
        }
        ::Sleep(kRoundPause);
    }
    return false;
}

}  // namespace

bool IsUninstallRequest(const std::string& strCommandLine) {
    std::istringstream words(strCommandLine);
    std::string strWord;
    while (words >> strWord)
        if (Lower(strWord) == "/uninstall") return true;
    return false;
}

int RunUninstallRequest(CMyMessenger& messenger) {
    CAdminAccount admin;
    admin.Load();  // without parent.nam Quenby was never set up: no password to ask for
    CUninstallDlg dlg(admin);
    if (dlg.DoModal() != IDOK) return kUninstallRefused;
    // The guard service would start the program again: it stops first, which needs the Windows
    // administrator rights the uninstaller runs with.
    if (CDataGuard::Get() && !CServiceSetup::Stop(kGuardStopWait)) return kUninstallStillRuns;
    return EndQuenby(messenger) ? kUninstallAllowed : kUninstallStillRuns;
}
