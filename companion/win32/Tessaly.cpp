// Tessaly.exe, the windowless companion: it holds its mutex and brings the program back when the
// program's instance mutex disappears while the stored state says it should still run (1 locked,
// 2 a child using the computer). A stored 3 or 4, or no stored path, means the program was ended
// on purpose (or cannot run), and the companion ends too.
#include <windows.h>

#include <string>

#include "companion/CompanionNames.h"
#include "companion/win32/MyMessenger.h"

namespace {

constexpr DWORD kCheckInterval = 500;
// How long a restarted program may take to create its instance mutex before it counts as gone.
constexpr DWORD kStartGrace = 5000;

bool IsProgramRunning() {
    HANDLE hMutex = ::OpenMutexA(SYNCHRONIZE, FALSE, kInstanceMutexName);
    if (!hMutex) return false;
    ::CloseHandle(hMutex);
    return true;
}

std::string FolderOf(const std::string& strPath) {
    const size_t nSlash = strPath.find_last_of("\\/");
    return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash + 1);
}

// Starts the program muted, from its own folder, and waits until it holds its mutex, ends, or the
// grace time is over, so that a slow start is not answered with a second start.
void StartProgram(const std::string& strPath) {
    std::string strCommandLine = "\"" + strPath + "\" " + kMuteToken;
    strCommandLine.push_back('\0');
    const std::string strFolder = FolderOf(strPath);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(strPath.c_str(), strCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          strFolder.empty() ? nullptr : strFolder.c_str(), &si, &pi))
        return;
    ::CloseHandle(pi.hThread);
    for (DWORD nWaited = 0; nWaited < kStartGrace && !IsProgramRunning(); nWaited += 50)
        if (::WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) break;
    ::CloseHandle(pi.hProcess);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HANDLE hOwnMutex = ::CreateMutexA(nullptr, FALSE, kCompanionMutexName);
    if (!hOwnMutex || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        if (hOwnMutex) ::CloseHandle(hOwnMutex);
        return 0;
    }
    CMyMessenger messenger;
    for (;;) {
        ::Sleep(kCheckInterval);
        if (IsProgramRunning()) continue;
        char szPath[MAX_PATH] = {};
        const int nState = messenger.GetMainProgState();
        if (messenger.GetMainProgPathName(szPath, MAX_PATH) == 0 || (nState != 1 && nState != 2)) break;
        StartProgram(szPath);
    }
    ::CloseHandle(hOwnMutex);
    return 0;
}
