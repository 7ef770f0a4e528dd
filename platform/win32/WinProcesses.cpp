// Windows' processes: the process list (the system's process information, or Toolhelp where that
// cannot be had), the foreground window's process, the program file's path and version
// information, WM_CLOSE to a process's windows and TerminateProcess.
#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/seams/Processes.h"
#include "platform/win32/ScopedHandle.h"

namespace {

// Declared for Vista and later only; looked up so that the headers' Windows version stays as it is.
using QUERYIMAGENAME = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
// The system's process information in one call: about half of what Toolhelp's snapshot of it costs.
using QUERYSYSTEMINFORMATION = NTSTATUS(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kSystemProcessInformation = 5;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

std::string FileNameOf(const std::string& strPath) {
    const std::size_t n = strPath.find_last_of("\\/");
    return n == std::string::npos ? strPath : strPath.substr(n + 1);
}

// A window the parent may pick a program from: shown, titled, not owned, not a tool window.
bool IsProgramWindow(HWND hWnd) {
    if (!::IsWindowVisible(hWnd) || ::GetWindow(hWnd, GW_OWNER)) return false;
    if (::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return false;
    return ::GetWindowTextLengthA(hWnd) > 0;
}

// A window WM_CLOSE is meant for: one on screen (minimised too), or a main window put away.
bool IsClosable(HWND hWnd) {
    return ::IsWindowVisible(hWnd) || (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

struct CLOSE_QUERY {
    DWORD nPid;
    int nAsked;
};

BOOL CALLBACK CloseProc(HWND hWnd, LPARAM lParam) {
    auto* pQuery = reinterpret_cast<CLOSE_QUERY*>(lParam);
    DWORD nPid = 0;
    ::GetWindowThreadProcessId(hWnd, &nPid);
    if (nPid == pQuery->nPid && IsClosable(hWnd) && ::PostMessageA(hWnd, WM_CLOSE, 0, 0)) ++pQuery->nAsked;
    return TRUE;
}

// The processes that made a top-level window, as Windows tells the thread that watches (the
// program's window thread, the only one that asks): filled by the event callback while that thread
// waits for messages, emptied by TakeNewWindowProcesses.
std::vector<std::uint32_t> g_newWindowProcesses;
constexpr std::size_t kMostNewWindowProcesses = 1024;  // a storm of windows costs no more memory

void CALLBACK OnWindowCreated(HWINEVENTHOOK, DWORD, HWND hWnd, LONG nObject, LONG nChild, DWORD, DWORD) {
    if (!hWnd || nObject != OBJID_WINDOW || nChild != CHILDID_SELF || ::GetAncestor(hWnd, GA_ROOT) != hWnd) return;
    DWORD nPid = 0;
    ::GetWindowThreadProcessId(hWnd, &nPid);
    if (nPid != 0 && g_newWindowProcesses.size() < kMostNewWindowProcesses &&
        std::find(g_newWindowProcesses.begin(), g_newWindowProcesses.end(), nPid) == g_newWindowProcesses.end())
        g_newWindowProcesses.push_back(nPid);
}

// Owns the watch of new windows (an out-of-context event hook: Windows calls back on the thread
// that set it, between its messages, and nothing of ours runs in other processes).
class CWindowWatch {
public:
    CWindowWatch()
        : m_hHook(::SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, OnWindowCreated, 0, 0,
                                    WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS)) {}
    ~CWindowWatch() {
        if (m_hHook) ::UnhookWinEvent(m_hHook);
    }
    CWindowWatch(const CWindowWatch&) = delete;
    CWindowWatch& operator=(const CWindowWatch&) = delete;

private:
    HWINEVENTHOOK m_hHook;
};

BOOL CALLBACK CollectProc(HWND hWnd, LPARAM lParam) {
    if (IsProgramWindow(hWnd)) reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

class CWinProcesses final : public IProcesses {
public:
    CWinProcesses() {
        m_pfnQueryImageName = reinterpret_cast<QUERYIMAGENAME>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
        m_pfnQuerySystem = reinterpret_cast<QUERYSYSTEMINFORMATION>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    }

    void List(std::vector<PROCESS_ENTRY>& processes) override {
        if (!m_pfnQuerySystem || !ListFromSystem(processes)) ListFromSnapshot(processes);
    }

    // The processes from the system's process information; false when it could not be read.
    bool ListFromSystem(std::vector<PROCESS_ENTRY>& processes) {
        if (m_buffer.size() < 256 * 1024) m_buffer.resize(256 * 1024);
        ULONG nNeeded = 0;
        NTSTATUS nStatus = 0;
        // The buffer grows (and stays grown) until the list fits.
        for (int nTry = 0; nTry < 4; ++nTry) {
            nStatus = m_pfnQuerySystem(kSystemProcessInformation, m_buffer.data(), static_cast<ULONG>(m_buffer.size()),
                                       &nNeeded);
            if (nStatus != kInfoLengthMismatch) break;
            m_buffer.resize(std::max<std::size_t>(m_buffer.size() * 2, nNeeded + 64 * 1024));
        }
        if (nStatus < 0) return false;
        std::size_t nCount = 0;
        for (std::size_t nOffset = 0;;) {
            const auto* pInfo = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(m_buffer.data() + nOffset);
            const auto nPid = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(pInfo->UniqueProcessId));
            if (nPid != 0) {
                if (nCount == processes.size()) processes.emplace_back();
                processes[nCount].nPid = nPid;
                Narrow(pInfo->ImageName, processes[nCount].strImage);
                ++nCount;
            }
            if (pInfo->NextEntryOffset == 0) break;
            nOffset += pInfo->NextEntryOffset;
            if (nOffset + sizeof(SYSTEM_PROCESS_INFORMATION) > m_buffer.size()) break;
        }
        processes.resize(nCount);
        return true;
    }

    // A program file's name in the ANSI code page, assigned in place.
    void Narrow(const UNICODE_STRING& name, std::string& strOut) {
        const int nChars = static_cast<int>(name.Length / sizeof(WCHAR));
        char szName[MAX_PATH] = {};
        const int nBytes =
            nChars > 0 ? ::WideCharToMultiByte(CP_ACP, 0, name.Buffer, nChars, szName, sizeof szName - 1, nullptr, nullptr) : 0;
        strOut.assign(szName, static_cast<std::size_t>(nBytes > 0 ? nBytes : 0));
    }

    void ListFromSnapshot(std::vector<PROCESS_ENTRY>& processes) {
        std::size_t nCount = 0;
        CKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (snapshot) {
            PROCESSENTRY32 entry{};
            entry.dwSize = sizeof entry;
            for (BOOL bMore = ::Process32First(snapshot.Get(), &entry); bMore;
                 bMore = ::Process32Next(snapshot.Get(), &entry)) {
                if (nCount == processes.size()) processes.emplace_back();
                // Assigned in place: the strings keep their storage from one second to the next.
                processes[nCount].nPid = entry.th32ProcessID;
                processes[nCount].strImage.assign(entry.szExeFile);
                ++nCount;
            }
        }
        processes.resize(nCount);
    }

    std::uint32_t ForegroundProcess() override {
        const HWND hWnd = ::GetForegroundWindow();
        DWORD nPid = 0;
        if (hWnd) ::GetWindowThreadProcessId(hWnd, &nPid);
        return nPid;
    }

    void TakeNewWindowProcesses(std::vector<std::uint32_t>& processes) override {
        if (!m_pWatch) m_pWatch = std::make_unique<CWindowWatch>();
        processes.swap(g_newWindowProcesses);
        g_newWindowProcesses.clear();
    }

    std::string PathOf(std::uint32_t nPid) override {
        if (!m_pfnQueryImageName) return {};
        CKernelHandle process(::OpenProcess(kQueryLimitedInformation, FALSE, nPid));
        if (!process) return {};
        char szPath[MAX_PATH * 2] = {};
        DWORD nSize = sizeof szPath;
        return m_pfnQueryImageName(process.Get(), 0, szPath, &nSize) ? std::string(szPath, nSize) : std::string();
    }

    std::string OriginalNameOf(const std::string& strPath) override {
        DWORD nHandle = 0;
        const DWORD nSize = ::GetFileVersionInfoSizeA(strPath.c_str(), &nHandle);
        if (nSize == 0) return {};
        std::vector<char> info(nSize);
        if (!::GetFileVersionInfoA(strPath.c_str(), 0, nSize, info.data())) return {};
        struct TRANSLATION {
            WORD nLanguage;
            WORD nCodePage;
        };
        TRANSLATION* pTranslations = nullptr;
        UINT nBytes = 0;
        if (!::VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pTranslations),
                              &nBytes) ||
            nBytes < sizeof(TRANSLATION))
            return {};
        for (UINT n = 0; n < nBytes / sizeof(TRANSLATION); ++n) {
            char szKey[64];
            std::snprintf(szKey, sizeof szKey, "\\StringFileInfo\\%04x%04x\\OriginalFilename",
                          pTranslations[n].nLanguage, pTranslations[n].nCodePage);
            char* pszName = nullptr;
            UINT nLength = 0;
            if (::VerQueryValueA(info.data(), szKey, reinterpret_cast<void**>(&pszName), &nLength) && pszName &&
                nLength > 1)
                return std::string(pszName);
        }
        return {};
    }

    int CloseWindows(std::uint32_t nPid) override {
        CLOSE_QUERY query{nPid, 0};
        ::EnumWindows(CloseProc, reinterpret_cast<LPARAM>(&query));
        return query.nAsked;
    }

    bool End(std::uint32_t nPid) override {
        CKernelHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, nPid));
        return process && ::TerminateProcess(process.Get(), 1) != FALSE;
    }

    std::uint32_t ProcessOfWindow(std::uint64_t nWindow) override {
        DWORD nPid = 0;
        const auto hWnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(nWindow));
        if (hWnd) ::GetWindowThreadProcessId(hWnd, &nPid);
        return nPid;
    }

    std::vector<PROGRAM_WINDOW> Windows() override {
        std::vector<HWND> windows;
        ::EnumWindows(CollectProc, reinterpret_cast<LPARAM>(&windows));
        std::vector<PROGRAM_WINDOW> found;
        for (HWND hWnd : windows) {
            PROGRAM_WINDOW window;
            ::GetWindowThreadProcessId(hWnd, reinterpret_cast<DWORD*>(&window.nPid));
            if (window.nPid == ::GetCurrentProcessId()) continue;
            char szTitle[256] = {};
            ::GetWindowTextA(hWnd, szTitle, sizeof szTitle);
            window.strTitle = szTitle;
            window.strPath = PathOf(window.nPid);
            window.strImage = FileNameOf(window.strPath);
            if (window.strImage.empty()) continue;  // a program this account may not look into
            found.push_back(std::move(window));
        }
        return found;
    }

    std::string WindowsFolder() override {
        char szFolder[MAX_PATH] = {};
        const UINT nLength = ::GetWindowsDirectoryA(szFolder, MAX_PATH);
        if (nLength == 0 || nLength >= MAX_PATH) return {};
        std::string strFolder(szFolder, nLength);
        if (strFolder.back() != '\\') strFolder += '\\';
        return strFolder;
    }

    std::uint32_t OwnProcess() override { return ::GetCurrentProcessId(); }

private:
    QUERYIMAGENAME m_pfnQueryImageName = nullptr;
    QUERYSYSTEMINFORMATION m_pfnQuerySystem = nullptr;
    std::vector<unsigned char> m_buffer;
    std::unique_ptr<CWindowWatch> m_pWatch;
};

}  // namespace

IProcesses& SystemProcesses() {
    static CWinProcesses s_processes;
    return s_processes;
}
