// Tessaly.exe, the windowless companion. It watches the program through its heartbeat and its
// process handle, not through a name: when the program's process ends, or its heartbeat has not
// moved for 5 seconds (suspended or hung), it ends that process and starts the program again,
// muted, while the stored state says it should run (1 locked, 2 a child using the computer). A
// stored 3 or 4, or no stored path, means the program was ended on purpose (or cannot run), and
// the companion ends too. It stores its process id, so that a mere holder of its mutex is not
// taken for it.
//
// "Tessaly.exe /service" is the installed program's guard service, run by the service manager;
// "/console" runs the same guard in a console; the setup program registers and removes it and
// gives it the first Administrator's password (companion/guard/GuardSwitches.h).
//
// "Tessaly.exe /launch <command line>" is the short-lived launcher: it starts the command line
// and exits at once, so that the process it starts has no living parent. The program starts the
// companion through it and the companion the program, so neither is in the other's process tree
// and "End process tree" on one never takes the other with it.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600  // GetTickCount64
#include <windows.h>

#include <string>

#include "companion/CompanionNames.h"
#include "companion/guard/GuardSwitches.h"
#include "companion/win32/MyMessenger.h"

namespace {

constexpr DWORD kCheckInterval = 250;
// A heartbeat that has not moved for this long: the program is suspended or hung.
constexpr ULONGLONG kBeatTimeout = 5000;
// How long a restarted program may take to beat before it counts as gone.
constexpr ULONGLONG kStartGrace = 10000;

std::string FolderOf(const std::string& strPath) {
    const size_t nSlash = strPath.find_last_of("\\/");
    return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash + 1);
}

std::string Quoted(const std::string& str) {
    std::string strQuoted(1, '"');
    return strQuoted.append(str).append(1, '"');
}

std::string OwnPath() {
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    return szPath;
}

// Starts a command line from a folder; false when it did not start.
bool Run(std::string strCommandLine, const std::string& strFolder) {
    strCommandLine.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, strCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          strFolder.empty() ? nullptr : strFolder.c_str(), &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return true;
}

// The watched program: its process handle and when its heartbeat last moved.
class CWatch {
public:
    ~CWatch() { Drop(); }

    // Follows the heartbeat: a new process id is opened, a moved count is noted.
    void Follow(CMyMessenger& messenger, ULONGLONG nNow) {
        LUMRIK_BEAT beat;
        if (!messenger.ReadBeat(&beat)) return;
        if (beat.nPid != m_nPid) {
            Drop();
            if (messenger.IsProgramProcess(beat.nPid))
                m_hProcess = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, beat.nPid);
            m_nPid = beat.nPid;
            m_nCount = beat.nCount;
            m_nMoved = nNow;
        } else if (beat.nCount != m_nCount) {
            m_nCount = beat.nCount;
            m_nMoved = nNow;
        }
    }
    bool IsGone() const { return !m_hProcess || ::WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0; }
    bool IsHung(ULONGLONG nNow) const { return !IsGone() && nNow - m_nMoved > kBeatTimeout; }
    void End() {
        if (!m_hProcess) return;
        ::TerminateProcess(m_hProcess, 1);
        ::WaitForSingleObject(m_hProcess, 5000);
    }
    // Waits until the program ends or the time is over (a plain pause while none is watched).
    void Wait(DWORD nMilliseconds) const {
        if (m_hProcess)
            ::WaitForSingleObject(m_hProcess, nMilliseconds);
        else
            ::Sleep(nMilliseconds);
    }
    void Drop() {
        if (m_hProcess) ::CloseHandle(m_hProcess);
        m_hProcess = nullptr;
    }
    unsigned long Pid() const { return m_nPid; }

private:
    HANDLE m_hProcess = nullptr;
    unsigned long m_nPid = 0;
    unsigned long m_nCount = 0;
    ULONGLONG m_nMoved = 0;
};

// Starts the program muted through the launcher and waits until a new process beats, or the
// grace time is over, so that a slow start is not answered with a second start.
void StartProgram(CMyMessenger& messenger, CWatch& watch, const std::string& strPath, bool bHung) {
    const unsigned long nOldPid = watch.Pid();
    watch.Drop();
    std::string strCommandLine;
    for (const std::string& strPart : {Quoted(OwnPath()), std::string(kLaunchSwitch), Quoted(strPath),
                                       std::string(kMuteToken), std::string(bHung ? kHungToken : "")})
        strCommandLine.append(strPart).append(" ");
    if (!Run(strCommandLine, FolderOf(strPath))) return;
    const ULONGLONG nStart = ::GetTickCount64();
    LUMRIK_BEAT beat;
    while (::GetTickCount64() - nStart < kStartGrace) {
        if (messenger.ReadBeat(&beat) && beat.nPid != nOldPid && messenger.IsProgramProcess(beat.nPid)) break;
        ::Sleep(50);
    }
    watch.Follow(messenger, ::GetTickCount64());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR pszCommandLine, int) {
    const std::string strArguments = pszCommandLine ? pszCommandLine : "";
    // The guard's own arguments (the service, its console, the setup program's requests).
    if (const int nGuard = RunGuardSwitch(strArguments); nGuard >= 0) return nGuard;
    if (strArguments.rfind(std::string(kLaunchSwitch) + " ", 0) == 0) {
        // The launcher: the program starts from its own folder.
        const std::string strCommand = strArguments.substr(std::string(kLaunchSwitch).size() + 1);
        const size_t nEnd = strCommand.find('"', 1);
        const std::string strTarget = strCommand[0] == '"' && nEnd != std::string::npos ? strCommand.substr(1, nEnd - 1) : "";
        return Run(strCommand, FolderOf(strTarget)) ? 0 : 1;
    }

    HANDLE hOwnMutex = ::CreateMutexA(nullptr, FALSE, kCompanionMutexName);
    const bool bMutexExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
    CMyMessenger messenger;
    // Only a running companion makes this one leave; anything else holding the name is ignored.
    const unsigned long nOther = messenger.GetCompanionPid();
    if (!hOwnMutex ||
        (bMutexExisted && nOther != ::GetCurrentProcessId() && messenger.IsProcessNamed(nOther, kCompanionExe))) {
        if (hOwnMutex) ::CloseHandle(hOwnMutex);
        return 0;
    }
    messenger.SetCompanionPid(::GetCurrentProcessId());
    CWatch watch;
    // The program that started us beats already; give a program that is starting its grace.
    ULONGLONG nSince = ::GetTickCount64();
    for (;;) {
        // An ended program is seen at once; a hung one at the next look.
        watch.Wait(kCheckInterval);
        const ULONGLONG nNow = ::GetTickCount64();
        watch.Follow(messenger, nNow);
        const bool bHung = watch.IsHung(nNow);
        if (!bHung && !(watch.IsGone() && (watch.Pid() || nNow - nSince > kCheckInterval))) continue;
        char szPath[MAX_PATH] = {};
        const int nState = messenger.GetMainProgState();
        if (messenger.GetMainProgPathName(szPath, MAX_PATH) == 0 || (nState != 1 && nState != 2)) break;
        if (bHung) watch.End();
        StartProgram(messenger, watch, szPath, bHung);
        nSince = ::GetTickCount64();
    }
    ::CloseHandle(hOwnMutex);
    return 0;
}
