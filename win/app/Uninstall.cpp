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

namespace {

// The state that tells the companion the program was ended on purpose: it neither restarts the
// program nor stays itself.
constexpr int kEndedOnPurpose = 3;
// Ending is tried for this long (each round ends what runs, then waits a little); the companion
// may restart the program once between two rounds.
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

struct WINDOW_QUERY {
    DWORD nPid;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND hWnd, LPARAM lParam) {
    auto* pQuery = reinterpret_cast<WINDOW_QUERY*>(lParam);
    DWORD nPid = 0;
    ::GetWindowThreadProcessId(hWnd, &nPid);
    if (nPid == pQuery->nPid && !::GetWindow(hWnd, GW_OWNER)) pQuery->windows.push_back(hWnd);
    return TRUE;
}

// Ends the processes of that name: first asked to close, so that the program gives back the
// windows its lock put away, then ended when it did not within the time. False when none ran.
bool EndProcessesNamed(const char* pszExe) {
    const std::vector<DWORD> pids = ProcessesNamed(pszExe);
    for (DWORD nPid : pids) {
        HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, nPid);
        if (!hProcess) continue;
        WINDOW_QUERY query{nPid, {}};
        ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&query));
        for (HWND hWnd : query.windows) ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
        if (query.windows.empty() || ::WaitForSingleObject(hProcess, kEndWait) != WAIT_OBJECT_0) {
            ::TerminateProcess(hProcess, 0);
            ::WaitForSingleObject(hProcess, kEndWait);
        }
        ::CloseHandle(hProcess);
    }
    return !pids.empty();
}

bool EndQuenby(CMyMessenger& messenger) {
    for (int nRound = 0; nRound < kEndRounds; ++nRound) {
        messenger.SetMainProgState(kEndedOnPurpose);
        const bool bProgram = EndProcessesNamed("Quenby.exe");
        const bool bCompanion = EndProcessesNamed(kCompanionExe);
        if (!bProgram && !bCompanion) return true;
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
