// The Windows half of the install scenario (tests/e2e/run-install): the steps that need a
// program inside Wine: starting Quenby from its Start-menu shortcut, answering its first-run and
// uninstall prompts, and looking for its processes. Every wait polls with a generous bound and
// says what it waited for.
//   install_driver start-shortcut <shortcut> <expected target> <password>
//   install_driver login-admin <password>
//   install_driver answer-uninstall <password> right|wrong
//   install_driver running|gone
//   install_driver uninstaller-ended
// Exits 0 when the step did what it should; prints why not otherwise.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "resources/resource.h"

namespace {

constexpr DWORD kBound = 90000;  // generous: Wine on a busy machine

bool Fail(const std::string& strWhy) {
    std::printf("install_driver: %s\n", strWhy.c_str());
    return false;
}

struct FIND {
    int nControlId;
    HWND hFound;
};

BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam) {
    auto* pFind = reinterpret_cast<FIND*>(lParam);
    if (!::IsWindowVisible(hWnd) || !::GetDlgItem(hWnd, pFind->nControlId)) return TRUE;
    pFind->hFound = hWnd;
    return FALSE;
}

HWND FindWindowWith(int nControlId) {
    FIND find{nControlId, nullptr};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&find));
    return find.hFound;
}

// Waits for a visible top-level window (of any process) with a control of that id.
HWND WaitForWindowWith(int nControlId, const char* pszWhat) {
    for (DWORD nWaited = 0; nWaited < kBound; nWaited += 100) {
        if (HWND hWnd = FindWindowWith(nControlId)) return hWnd;
        ::Sleep(100);
    }
    Fail(std::string("no ") + pszWhat + " within " + std::to_string(kBound / 1000) + " s");
    return nullptr;
}

struct OWNED {
    HWND hOwner;
    HWND hFound;
};

BOOL CALLBACK MatchMessageBox(HWND hWnd, LPARAM lParam) {
    auto* pOwned = reinterpret_cast<OWNED*>(lParam);
    char szClass[16] = {};
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    if (::GetWindow(hWnd, GW_OWNER) != pOwned->hOwner || std::strcmp(szClass, "#32770") != 0 ||
        !::IsWindowVisible(hWnd) || !::GetDlgItem(hWnd, 0xFFFF))
        return TRUE;
    pOwned->hFound = hWnd;
    return FALSE;
}

// A message box the window opened: a dialog it owns with the message's static text (id 0xFFFF).
HWND WaitForMessageBoxOf(HWND hOwner) {
    for (DWORD nWaited = 0; nWaited < kBound; nWaited += 100) {
        OWNED owned{hOwner, nullptr};
        ::EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&owned));
        if (owned.hFound) return owned.hFound;
        ::Sleep(100);
    }
    Fail("no message box within " + std::to_string(kBound / 1000) + " s");
    return nullptr;
}

void SetText(HWND hDlg, int nId, const std::string& strText) {
    ::SendMessageA(::GetDlgItem(hDlg, nId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strText.c_str()));
}

void Click(HWND hDlg, int nId) {
    ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nId)));
}

bool WaitGone(HWND hWnd, const char* pszWhat) {
    for (DWORD nWaited = 0; nWaited < kBound; nWaited += 100) {
        if (!::IsWindow(hWnd) || !::IsWindowVisible(hWnd)) return true;
        ::Sleep(100);
    }
    return Fail(std::string(pszWhat) + " still open after " + std::to_string(kBound / 1000) + " s");
}

// The uninstaller runs from a copy of itself in the temporary folder (Un.exe; Un_A.exe or Au_.exe
// from other NSIS versions) while Uninstall.exe ends at once.
bool IsUninstaller(const char* pszExe) {
    return ::lstrcmpiA(pszExe, "Uninstall.exe") == 0 || ::lstrcmpiA(pszExe, "Un.exe") == 0 ||
           ::lstrcmpiA(pszExe, "Au_.exe") == 0 ||
           _strnicmp(pszExe, "Un_", 3) == 0;
}

std::string ProcessNames() {
    std::string strNames;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE) return strNames;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = ::Process32First(hSnapshot, &entry); bMore; bMore = ::Process32Next(hSnapshot, &entry))
        strNames += std::string(entry.szExeFile) + " ";
    ::CloseHandle(hSnapshot);
    return strNames;
}

// Processes of that name (nullptr: of the uninstaller).
int CountProcesses(const char* pszExe) {
    int nCount = 0;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = ::Process32First(hSnapshot, &entry); bMore; bMore = ::Process32Next(hSnapshot, &entry))
        if (pszExe ? ::lstrcmpiA(entry.szExeFile, pszExe) == 0 : IsUninstaller(entry.szExeFile)) ++nCount;
    ::CloseHandle(hSnapshot);
    return nCount;
}

std::string ShortcutTarget(const std::string& strShortcut) {
    std::string strTarget;
    ::CoInitialize(nullptr);
    IShellLinkA* pLink = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     reinterpret_cast<void**>(&pLink)))) {
        IPersistFile* pFile = nullptr;
        if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile)))) {
            wchar_t szWide[MAX_PATH] = {};
            ::MultiByteToWideChar(CP_ACP, 0, strShortcut.c_str(), -1, szWide, MAX_PATH);
            char szPath[MAX_PATH] = {};
            if (SUCCEEDED(pFile->Load(szWide, STGM_READ)) &&
                SUCCEEDED(pLink->GetPath(szPath, MAX_PATH, nullptr, 0)))
                strTarget = szPath;
            pFile->Release();
        }
        pLink->Release();
    }
    ::CoUninitialize();
    return strTarget;
}

// Starts the shortcut's target, sets the Administrator's password in the first-run dialog and
// waits for the lock screen.
bool StartShortcut(const std::string& strShortcut, const std::string& strExpected, const std::string& strPassword) {
    const std::string strTarget = ShortcutTarget(strShortcut);
    if (::lstrcmpiA(strTarget.c_str(), strExpected.c_str()) != 0)
        return Fail("the shortcut leads to '" + strTarget + "', not '" + strExpected + "'");
    std::string strCommandLine = "\"" + strTarget + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(strTarget.c_str(), strCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi))
        return Fail("cannot start " + strTarget);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    HWND hFirst = WaitForWindowWith(IDC_FIRST_PASSWORD, "first-run password dialog");
    if (!hFirst) return false;
    SetText(hFirst, IDC_FIRST_PASSWORD, strPassword);
    SetText(hFirst, IDC_FIRST_CONFIRM, strPassword);
    Click(hFirst, IDC_FIRST_OK);
    if (!WaitGone(hFirst, "first-run dialog")) return false;
    return WaitForWindowWith(IDC_LOCK_LOGIN, "lock screen") != nullptr;
}

// Logs in as the Administrator at the lock screen, as a parent does before using Windows, and
// waits until the lock screen has gone. The uninstaller runs in that unlocked session: while the
// lock screen is up, every window of another program is put away, the prompt's included.
bool LoginAdministrator(const std::string& strPassword) {
    HWND hLock = WaitForWindowWith(IDC_LOCK_LOGIN, "lock screen");
    if (!hLock) return false;
    SetText(hLock, IDC_LOCK_PASSWORD, strPassword);
    Click(hLock, IDC_LOCK_LOGIN);
    return WaitGone(hLock, "lock screen");
}

// Answers the uninstall prompt. A wrong password must be refused (a message box, the prompt
// stays), after which the prompt is cancelled; a right one must close the prompt.
bool AnswerUninstall(const std::string& strPassword, bool bRight) {
    HWND hPrompt = WaitForWindowWith(IDC_UNINSTALL_PASSWORD, "uninstall prompt");
    if (!hPrompt) return false;
    // The uninstaller waits for the prompt's answer (so that its end can be awaited afterwards).
    if (CountProcesses(nullptr) <= 0) return Fail("no uninstaller process waits for the prompt; running: " + ProcessNames());
    SetText(hPrompt, IDC_UNINSTALL_PASSWORD, strPassword);
    Click(hPrompt, IDOK);
    if (bRight) return WaitGone(hPrompt, "uninstall prompt");
    HWND hBox = WaitForMessageBoxOf(hPrompt);
    if (!hBox) return false;
    ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (!WaitGone(hBox, "wrong-password message")) return false;
    if (!::IsWindowVisible(hPrompt)) return Fail("the prompt closed on a wrong password");
    Click(hPrompt, IDCANCEL);
    return WaitGone(hPrompt, "uninstall prompt");
}

bool Running(bool bExpected) {
    for (DWORD nWaited = 0; nWaited < kBound; nWaited += 100) {
        const int nQuenby = CountProcesses("Quenby.exe");
        const int nTessaly = CountProcesses("Tessaly.exe");
        if (bExpected ? (nQuenby == 1 && nTessaly == 1) : (nQuenby == 0 && nTessaly == 0)) return true;
        ::Sleep(100);
    }
    return Fail(std::string("Quenby.exe and Tessaly.exe ") + (bExpected ? "not both running" : "still running") +
                " after " + std::to_string(kBound / 1000) + " s");
}

bool UninstallerEnded() {
    for (DWORD nWaited = 0; nWaited < kBound; nWaited += 100) {
        if (CountProcesses(nullptr) == 0) return true;
        ::Sleep(100);
    }
    return Fail("the uninstaller still runs after " + std::to_string(kBound / 1000) + " s");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string strStep = argc > 1 ? argv[1] : "";
    bool bOk = false;
    if (strStep == "start-shortcut" && argc == 5)
        bOk = StartShortcut(argv[2], argv[3], argv[4]);
    else if (strStep == "login-admin" && argc == 3)
        bOk = LoginAdministrator(argv[2]);
    else if (strStep == "answer-uninstall" && argc == 4)
        bOk = AnswerUninstall(argv[2], std::string(argv[3]) == "right");
    else if (strStep == "uninstaller-ended")
        bOk = UninstallerEnded();
    else if (strStep == "running" || strStep == "gone")
        bOk = Running(strStep == "running");
    else
        return Fail("unknown step"), 2;
    std::printf("install_driver %s: %s\n", strStep.c_str(), bOk ? "ok" : "FAILED");
    return bOk ? 0 : 1;
}
