// The guard under the service manager, and in a console.
#include "companion/guard/GuardService.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "companion/CompanionNames.h"
#include "companion/guard/GuardHost.h"
#include "platform/win32/ModulePath.h"

namespace {

SERVICE_STATUS_HANDLE g_hStatus = nullptr;
SERVICE_STATUS g_status{};
HANDLE g_hStop = nullptr;

void Report(DWORD nState, DWORD nExitCode = NO_ERROR, DWORD nWaitHint = 0) {
    g_status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    g_status.dwCurrentState = nState;
    g_status.dwWin32ExitCode = nExitCode;
    g_status.dwWaitHint = nWaitHint;
    g_status.dwControlsAccepted = nState == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    ++g_status.dwCheckPoint;
    if (nState == SERVICE_RUNNING || nState == SERVICE_STOPPED) g_status.dwCheckPoint = 0;
    ::SetServiceStatus(g_hStatus, &g_status);
}

DWORD WINAPI ControlHandler(DWORD nControl, DWORD, LPVOID, LPVOID) {
    switch (nControl) {
        case SERVICE_CONTROL_STOP:
        case SERVICE_CONTROL_SHUTDOWN:
            Report(SERVICE_STOP_PENDING, NO_ERROR, 5000);
            ::SetEvent(g_hStop);
            return NO_ERROR;
        case SERVICE_CONTROL_INTERROGATE:
            return NO_ERROR;
        default:
            return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

// The guard for Quenby.exe beside this program, on the real pipe, in the machine's sessions.
int RunGuard(HANDLE hStop, const std::function<void()>& onRunning) {
    CWtsSessions sessions;
    CGuardHost host(kGuardPipeName, GetModuleDir() + "Quenby.exe", sessions);
    if (!host.Start()) return 1;
    onRunning();
    host.Run(hStop);
    host.Stop();
    return 0;
}

void WINAPI ServiceMain(DWORD, LPSTR*) {
    g_hStatus = ::RegisterServiceCtrlHandlerExA(kGuardServiceName, ControlHandler, nullptr);
    if (!g_hStatus) return;
    Report(SERVICE_START_PENDING, NO_ERROR, 10000);
    const int nResult = RunGuard(g_hStop, [] { Report(SERVICE_RUNNING); });
    // A guard that could not take its pipe stops with an error, so the service manager's failure
    // actions start it again (a program that sat on the name may be gone by then).
    Report(SERVICE_STOPPED, nResult == 0 ? NO_ERROR : ERROR_PIPE_BUSY);
}

BOOL WINAPI ConsoleHandler(DWORD) {
    ::SetEvent(g_hStop);
    return TRUE;
}

}  // namespace

int CGuardService::RunAsService() {
    g_hStop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    char szName[64];
    ::lstrcpynA(szName, kGuardServiceName, sizeof szName);
    SERVICE_TABLE_ENTRYA table[] = {{szName, ServiceMain}, {nullptr, nullptr}};
    const bool bDispatched = ::StartServiceCtrlDispatcherA(table) != FALSE;
    ::CloseHandle(g_hStop);
    return bDispatched ? 0 : 1;
}

int CGuardService::RunInConsole() {
    g_hStop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ::SetConsoleCtrlHandler(ConsoleHandler, TRUE);
    const int nResult = RunGuard(g_hStop, [] {});
    ::CloseHandle(g_hStop);
    return nResult;
}
