// Running the real program for the end-to-end tests.
#include "ProgramUnderTest.h"

#include <shlobj.h>

#include <tlhelp32.h>

#include "support/ScreenCapture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

// The build's program folder and the screenshot folder are named by the test's environment.
std::string EnvOr(const char* pszName, const std::string& strDefault) {
    const char* pszValue = std::getenv(pszName);
    return pszValue && *pszValue ? std::string(pszValue) : strDefault;
}

std::string WithSlash(std::string strFolder) {
    if (!strFolder.empty() && strFolder.back() != '\\' && strFolder.back() != '/') strFolder += '\\';
    return strFolder;
}

std::string ExeNameOf(const std::string& strPath) {
    const size_t n = strPath.find_last_of("\\/");
    return n == std::string::npos ? strPath : strPath.substr(n + 1);
}

// The full path of a process's program file, or "" when it cannot be read.
std::string ProcessPath(DWORD nPid) {
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, nPid);
    if (!hProcess) return std::string();
    char szPath[MAX_PATH] = {};
    DWORD nSize = MAX_PATH;
    std::string strPath;
    if (::QueryFullProcessImageNameA(hProcess, 0, szPath, &nSize)) strPath.assign(szPath, nSize);
    ::CloseHandle(hProcess);
    return strPath;
}

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

struct FindWindowQuery {
    int nControlId;
    std::vector<DWORD> pids;
    HWND hFound;
};

BOOL CALLBACK MatchTopLevel(HWND hWnd, LPARAM lParam) {
    auto* pQuery = reinterpret_cast<FindWindowQuery*>(lParam);
    DWORD nPid = 0;
    ::GetWindowThreadProcessId(hWnd, &nPid);
    bool bOurs = false;
    for (DWORD n : pQuery->pids) bOurs = bOurs || n == nPid;
    if (!bOurs || !::IsWindowVisible(hWnd)) return TRUE;
    if (pQuery->nControlId != 0 && !::GetDlgItem(hWnd, pQuery->nControlId)) return TRUE;
    pQuery->hFound = hWnd;
    return FALSE;
}

// The second copies a run keeps outside its folder (the registry key and the event log's copy)
// belong to the scenario: each starts without them and leaves none behind.
void ForgetCopies() {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Quenby");
    char szLocal[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, szLocal)))
        ::DeleteFileA((std::string(szLocal) + "\\Quenby\\events.log").c_str());
}

}  // namespace

CProgramUnderTest::CProgramUnderTest() {
    ForgetCopies();
    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    static int s_nRun = 0;
    m_strFolder = WithSlash(std::string(szTemp) + "quenby-e2e-" + std::to_string(::GetCurrentProcessId()) + "-" +
                            std::to_string(s_nRun++));
    ::CreateDirectoryA(m_strFolder.c_str(), nullptr);
    const std::string strSource = WithSlash(EnvOr("QUENBY_PROGRAM_DIR", "program"));
    for (const char* pszFile : {"Quenby.exe", "Lumrik.dll", "Tessaly.exe", "alert.wav"})
        ::CopyFileA((strSource + pszFile).c_str(), (m_strFolder + pszFile).c_str(), FALSE);
}

void RemoveFolder(const std::string& strFolder) {
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA((strFolder + "*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            ::DeleteFileA((strFolder + data.cFileName).c_str());
        } while (::FindNextFileA(hFind, &data));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryA(strFolder.c_str());
}

CProgramUnderTest::~CProgramUnderTest() {
    // Programs of the folder may restart each other: end them until none is left.
    for (int nRound = 0; nRound < 20; ++nRound) {
        std::vector<DWORD> running;
        for (const char* pszExe : {"Tessaly.exe", "Quenby.exe"})
            for (DWORD nPid : FindProcesses(pszExe)) running.push_back(nPid);
        for (DWORD nPid : m_started)
            if (IsRunning(nPid)) running.push_back(nPid);
        if (running.empty()) break;
        for (DWORD nPid : running) Kill(nPid);
        ::Sleep(100);
    }
    RemoveFolder(m_strFolder);
    ForgetCopies();
}

DWORD CProgramUnderTest::Start(const std::string& strExe, const std::string& strArguments) {
    const std::string strPath = m_strFolder + strExe;
    std::string strCommandLine = "\"" + strPath + "\"";
    if (!strArguments.empty()) strCommandLine += " " + strArguments;
    std::vector<char> commandLine(strCommandLine.begin(), strCommandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(strPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, m_strFolder.c_str(),
                          &si, &pi))
        return 0;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    m_started.push_back(pi.dwProcessId);
    return pi.dwProcessId;
}

bool CProgramUnderTest::WaitForExit(DWORD nPid, DWORD nMilliseconds, DWORD* pnExitCode) {
    HANDLE hProcess = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, nPid);
    if (!hProcess) return true;  // already gone
    const bool bEnded = ::WaitForSingleObject(hProcess, nMilliseconds) == WAIT_OBJECT_0;
    if (bEnded && pnExitCode) ::GetExitCodeProcess(hProcess, pnExitCode);
    ::CloseHandle(hProcess);
    return bEnded;
}

bool CProgramUnderTest::IsRunning(DWORD nPid) const {
    HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, nPid);
    if (!hProcess) return false;
    const bool bRunning = ::WaitForSingleObject(hProcess, 0) == WAIT_TIMEOUT;
    ::CloseHandle(hProcess);
    return bRunning;
}

std::vector<DWORD> CProgramUnderTest::FindProcesses(const std::string& strExe) const {
    std::vector<DWORD> pids;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE) return pids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = ::Process32First(hSnapshot, &entry); bMore; bMore = ::Process32Next(hSnapshot, &entry)) {
        if (!SamePathIgnoringCase(ExeNameOf(entry.szExeFile), strExe)) continue;
        // Only the copies in our folder count: never a program of anybody else.
        if (SamePathIgnoringCase(ProcessPath(entry.th32ProcessID), m_strFolder + strExe))
            pids.push_back(entry.th32ProcessID);
    }
    ::CloseHandle(hSnapshot);
    return pids;
}

void CProgramUnderTest::Kill(DWORD nPid) {
    HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, nPid);
    if (!hProcess) return;
    ::TerminateProcess(hProcess, 9);
    ::WaitForSingleObject(hProcess, 5000);
    ::CloseHandle(hProcess);
}

HWND CProgramUnderTest::WaitForWindow(int nControlId, DWORD nMilliseconds, DWORD nPid) const {
    const DWORD nStart = ::GetTickCount();
    do {
        FindWindowQuery query{nControlId, {}, nullptr};
        if (nPid) {
            query.pids.push_back(nPid);
        } else {
            for (const char* pszExe : {"Quenby.exe", "Tessaly.exe"})
                for (DWORD n : FindProcesses(pszExe)) query.pids.push_back(n);
        }
        ::EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
        if (query.hFound) return query.hFound;
        ::Sleep(50);
    } while (::GetTickCount() - nStart < nMilliseconds);
    return nullptr;
}

std::string CProgramUnderTest::TextOf(HWND hWnd) {
    char szText[1024] = {};
    // WM_GETTEXT reaches windows of another process, which GetWindowText does not read for controls.
    ::SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText), SMTO_ABORTIFHUNG, 2000,
                          nullptr);
    return szText;
}

void CProgramUnderTest::Click(HWND hDlg, int nId) {
    ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nId)));
}

void CProgramUnderTest::Screenshot(const std::string& strName) const {
    const std::string strFolder = ScreenshotFolder();
    if (!strFolder.empty()) SaveScreen(strFolder + strName + ".bmp");
}

BYTES CProgramUnderTest::ReadFile(const std::string& strFile) const {
    std::ifstream in(PathOf(strFile), std::ios::binary);
    return BYTES(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool CProgramUnderTest::FileExists(const std::string& strFile) const {
    return ::GetFileAttributesA(PathOf(strFile).c_str()) != INVALID_FILE_ATTRIBUTES;
}
