// Tessaly.exe, the windowless companion. It watches the program through its heartbeat and its
// process handle, not through a name: when the program's process ends, or its heartbeat has not
// moved for 5 seconds (suspended or hung), it ends that process and starts the program again,
// muted. It stands down only when the program ended on purpose and proved it: the process it
// watched handed it a one-time value through its pipe and then ended with that value as its exit
// code. A state in a file, which any program may write, proves nothing. Only a process whose file
// carries this build's stamp is taken for the program, and only such a file is started, so a
// decoy of the same name that writes the heartbeat or the stored path leads it nowhere. It stores
// its process id, so that a mere holder of its mutex is not taken for it.
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
#define _WIN32_WINNT 0x0600  // GetTickCount64, GetNamedPipeClientProcessId
#include <windows.h>

#include <string>

#include "companion/CompanionNames.h"
#include "companion/guard/GuardSwitches.h"
#include "companion/win32/MyMessenger.h"
#include "companion/win32/PipeTransfer.h"

namespace {

constexpr DWORD kCheckInterval = 250;
// A heartbeat that has not moved for this long: the program is suspended or hung.
constexpr ULONGLONG kBeatTimeout = 5000;
// How long a restarted program may take to beat before it counts as gone.
constexpr ULONGLONG kStartGrace = 10000;
// How long a client of the pipe may take to say what it has to say.
constexpr DWORD kPipeTimeout = 2000;

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

// The companion's end of its pipe: one client at a time, taken at its word only when it is the
// process watched.
class CEndPipe {
public:
    CEndPipe() {
        m_ov.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        const std::string strName = kEndPipePrefix + std::to_string(::GetCurrentProcessId());
        // The first instance: a program that created the name before us cannot sit in front of it.
        m_hPipe = ::CreateNamedPipeA(strName.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                     PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 64,
                                     64, 0, nullptr);
        Listen();
    }
    ~CEndPipe() {
        if (m_hPipe != INVALID_HANDLE_VALUE) ::CloseHandle(m_hPipe);
        if (m_ov.hEvent) ::CloseHandle(m_ov.hEvent);
    }
    CEndPipe(const CEndPipe&) = delete;
    CEndPipe& operator=(const CEndPipe&) = delete;

    // Signalled when a client has connected; nullptr when there is no pipe.
    HANDLE Event() const { return m_hPipe != INVALID_HANDLE_VALUE ? m_ov.hEvent : nullptr; }

    // A client connected: its value is taken when it is the program's process, then the pipe
    // waits for the next client.
    void Serve(unsigned long nProgramPid, unsigned long& nDeclared) {
        DWORD nIgnored = 0;
        ULONG nClient = 0;
        unsigned long message[2] = {};
        if (::GetOverlappedResult(m_hPipe, &m_ov, &nIgnored, FALSE) && nProgramPid != 0 &&
            ::GetNamedPipeClientProcessId(m_hPipe, &nClient) && nClient == nProgramPid &&
            PipeTransfer(m_hPipe, false, message, sizeof message, kPipeTimeout) && message[1] == ~message[0]) {
            nDeclared = message[0];
            unsigned char nAnswer = 1;
            PipeTransfer(m_hPipe, true, &nAnswer, 1, kPipeTimeout);
        }
        ::DisconnectNamedPipe(m_hPipe);
        Listen();
    }

private:
    void Listen() {
        if (m_hPipe == INVALID_HANDLE_VALUE) return;
        for (int nTry = 0; nTry < 2; ++nTry) {
            ::ResetEvent(m_ov.hEvent);
            if (::ConnectNamedPipe(m_hPipe, &m_ov)) return;
            const DWORD nError = ::GetLastError();
            // A client that came between the disconnect and this call is connected already.
            if (nError == ERROR_PIPE_CONNECTED) ::SetEvent(m_ov.hEvent);
            // One that came and went already leaves the pipe to be disconnected first.
            if (nError != ERROR_NO_DATA) return;
            ::DisconnectNamedPipe(m_hPipe);
        }
    }

    HANDLE m_hPipe = INVALID_HANDLE_VALUE;
    OVERLAPPED m_ov{};
};

// The watched program: its process handle, its file, when its heartbeat last moved, and the value
// it declared it would end with.
class CWatch {
public:
    ~CWatch() { Drop(); }

    // Follows the heartbeat: a new process of the program is opened, a moved count is noted. A
    // beat that names a process that is not the program leaves the watch where it is.
    void Follow(CMyMessenger& messenger, ULONGLONG nNow) {
        LUMRIK_BEAT beat;
        if (!messenger.ReadBeat(&beat)) return;
        if (beat.nPid != m_nPid) {
            char szPath[MAX_PATH] = {};
            if (messenger.ProgramPathOf(beat.nPid, szPath, MAX_PATH) == 0) return;
            Drop();
            m_hProcess = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, beat.nPid);
            m_strPath = szPath;
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
    // The program's process ended with the value it handed over before.
    bool EndedOnPurpose() const {
        DWORD nExitCode = 0;
        return m_hProcess && m_nDeclared != 0 && ::WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0 &&
               ::GetExitCodeProcess(m_hProcess, &nExitCode) && nExitCode == m_nDeclared;
    }
    void End() {
        if (!m_hProcess) return;
        ::TerminateProcess(m_hProcess, 1);
        ::WaitForSingleObject(m_hProcess, 5000);
    }
    // Waits until the program ends or the time is over, serving the pipe meanwhile. The program's
    // end comes first, and the time is kept, however many clients the pipe has.
    void Wait(DWORD nMilliseconds, CEndPipe& pipe) {
        const ULONGLONG nEnd = ::GetTickCount64() + nMilliseconds;
        for (ULONGLONG nNow = ::GetTickCount64(); nNow < nEnd; nNow = ::GetTickCount64()) {
            const auto nLeft = static_cast<DWORD>(nEnd - nNow);
            HANDLE handles[2];
            DWORD nHandles = 0;
            if (m_hProcess) handles[nHandles++] = m_hProcess;
            const HANDLE hPipe = pipe.Event();
            if (hPipe) handles[nHandles++] = hPipe;
            if (nHandles == 0) return ::Sleep(nLeft);
            if (!hPipe || ::WaitForMultipleObjects(nHandles, handles, FALSE, nLeft) != WAIT_OBJECT_0 + nHandles - 1)
                return;
            pipe.Serve(m_nPid, m_nDeclared);
        }
    }
    void Drop() {
        if (m_hProcess) ::CloseHandle(m_hProcess);
        m_hProcess = nullptr;
        m_nDeclared = 0;
    }
    unsigned long Pid() const { return m_nPid; }
    // The program's file as the watched process ran it ("" before any was watched).
    const std::string& ProgramPath() const { return m_strPath; }

private:
    HANDLE m_hProcess = nullptr;
    std::string m_strPath;
    unsigned long m_nPid = 0;
    unsigned long m_nCount = 0;
    ULONGLONG m_nMoved = 0;
    unsigned long m_nDeclared = 0;
};

// The program to start: the file the watched process ran, else the stored path when it is a file
// of this build; "" when there is none.
std::string ProgramToStart(CMyMessenger& messenger, const CWatch& watch) {
    if (!watch.ProgramPath().empty()) return watch.ProgramPath();
    char szPath[MAX_PATH] = {};
    if (messenger.GetMainProgPathName(szPath, MAX_PATH) == 0 || !messenger.IsProgramFile(szPath)) return {};
    return szPath;
}

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
        (bMutexExisted && nOther != ::GetCurrentProcessId() && messenger.IsCompanionProcess(nOther))) {
        if (hOwnMutex) ::CloseHandle(hOwnMutex);
        return 0;
    }
    messenger.SetCompanionPid(::GetCurrentProcessId());
    CEndPipe endPipe;
    CWatch watch;
    // The program that started us beats already; give a program that is starting its grace.
    ULONGLONG nSince = ::GetTickCount64();
    for (;;) {
        // An ended program is seen at once; a hung one at the next look.
        watch.Wait(kCheckInterval, endPipe);
        const ULONGLONG nNow = ::GetTickCount64();
        watch.Follow(messenger, nNow);
        const bool bHung = watch.IsHung(nNow);
        if (!bHung && !(watch.IsGone() && (watch.Pid() || nNow - nSince > kCheckInterval))) continue;
        if (!bHung && watch.EndedOnPurpose()) break;
        const std::string strPath = ProgramToStart(messenger, watch);
        if (strPath.empty()) break;  // no program of this build to start
        if (bHung) watch.End();
        StartProgram(messenger, watch, strPath, bHung);
        nSince = ::GetTickCount64();
    }
    ::CloseHandle(hOwnMutex);
    return 0;
}
