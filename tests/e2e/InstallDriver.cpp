// The Windows half of the install scenario (tests/e2e/run-install): the steps that need a
// program inside Wine: starting Quenby from its Start-menu shortcut (the first run happened at the
// installation: the lock screen comes at once), the parent's login and choice of protected Windows
// accounts, answering the uninstall prompt, and looking for its processes; the guard service's
// steps are in GuardSteps.cpp. Every wait polls with a generous bound and says what it waited for.
//   install_driver start-shortcut <shortcut> <expected target>
//   install_driver login-admin <password>
//   install_driver login-refused <password>
//   install_driver login-sees-refusals <password>
//   install_driver protect-this-account
//   install_driver answer-uninstall <password> right|wrong
//   install_driver running|gone|no-quenby
//   install_driver uninstaller-ended
// Exits 0 when the step did what it should; prints why not otherwise.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "GuardSteps.h"
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

// Starts the shortcut's target and waits for its lock screen: no first-run dialog comes, the
// Administrator's password was chosen at the installation.
bool StartShortcut(const std::string& strShortcut, const std::string& strExpected) {
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
    if (!WaitForWindowWith(IDC_LOCK_LOGIN, "lock screen")) return false;
    return !FindWindowWith(IDC_FIRST_PASSWORD) || Fail("a first run was offered after the installation");
}

// Logs in as the Administrator at the lock screen, as a parent does before using Windows, and
// waits until the lock screen has gone. The uninstaller runs in that unlocked session: while the
// lock screen is up, every window of another program is put away, the prompt's included.
// What happened since the last login is listed first (when anything did): its lines are counted
// for the caller (only counted: the texts of another process's list do not cross processes
// reliably under Wine) and the list closed; then the editor opens.
bool LoginAdministrator(const std::string& strPassword, LRESULT* pnListed = nullptr) {
    HWND hLock = WaitForWindowWith(IDC_LOCK_LOGIN, "lock screen");
    if (!hLock) return false;
    SetText(hLock, IDC_LOCK_PASSWORD, strPassword);
    Click(hLock, IDC_LOCK_LOGIN);
    if (!WaitGone(hLock, "lock screen")) return false;
    for (DWORD nWaited = 0; nWaited < kBound; nWaited += 100) {
        if (FindWindowWith(IDC_ARR_OPTIONS)) return true;
        if (HWND hEvents = FindWindowWith(IDC_EVENTS_LIST)) {
            HWND hList = ::GetDlgItem(hEvents, IDC_EVENTS_LIST);
            if (pnListed) *pnListed = ::SendMessageA(hList, LB_GETCOUNT, 0, 0);
            Click(hEvents, IDOK);
            if (!WaitGone(hEvents, "events since the last login")) return false;
        }
        ::Sleep(100);
    }
    return Fail("no editor after the Administrator's login");
}

// The Administrator's login lists the guard's refusals of the time before it.
// The Administrator's login lists what happened since the last one: at least every refusal the
// event log holds since the last login.
bool LoginSeesRefusals(const std::string& strPassword) {
    std::ifstream in("C:\\ProgramData\\Quenby\\events.log", std::ios::binary);
    int nRefusals = 0;
    for (std::string strLine; std::getline(in, strLine);) {
        if (strLine.find("\tlogin\t") != std::string::npos) nRefusals = 0;
        if (strLine.find("\trefused\t") != std::string::npos) ++nRefusals;
    }
    if (nRefusals == 0) return Fail("the event log holds no refusal since the last login");
    LRESULT nListed = 0;
    if (!LoginAdministrator(strPassword, &nListed)) return false;
    std::printf("%ld events listed at the login, %d of them refusals in the log\n", static_cast<long>(nListed), nRefusals);
    return nListed >= nRefusals || Fail("the refusals were not listed at the login");
}

// A password that is not the Administrator's (one the child chose for a forged parent.nam, say) is
// refused at the lock screen: a message box, and the lock screen stays.
bool LoginRefused(const std::string& strPassword) {
    HWND hLock = WaitForWindowWith(IDC_LOCK_LOGIN, "lock screen");
    if (!hLock) return false;
    SetText(hLock, IDC_LOCK_PASSWORD, strPassword);
    Click(hLock, IDC_LOCK_LOGIN);
    HWND hBox = WaitForMessageBoxOf(hLock);
    if (!hBox) return false;
    ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (!WaitGone(hBox, "wrong-password message")) return false;
    return ::IsWindowVisible(hLock) || Fail("the lock screen went away");
}

// A list view of another process: its item texts and check boxes are reached through memory of
// that process, since the list's messages carry pointers.
class CRemoteList {
public:
    explicit CRemoteList(HWND hList) : m_hList(hList) {
        DWORD nPid = 0;
        ::GetWindowThreadProcessId(hList, &nPid);
        m_hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, nPid);
        if (m_hProcess) m_pRemote = ::VirtualAllocEx(m_hProcess, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
    }
    ~CRemoteList() {
        if (m_pRemote) ::VirtualFreeEx(m_hProcess, m_pRemote, 0, MEM_RELEASE);
        if (m_hProcess) ::CloseHandle(m_hProcess);
    }
    int Count() const { return static_cast<int>(::SendMessageA(m_hList, LVM_GETITEMCOUNT, 0, 0)); }
    std::string Text(int nItem) {
        LVITEMA item{};
        item.iSubItem = 0;
        item.cchTextMax = 256;
        item.pszText = static_cast<char*>(m_pRemote) + 1024;
        if (!Put(item)) return {};
        ::SendMessageA(m_hList, LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(m_pRemote));
        char szText[256] = {};
        SIZE_T nRead = 0;
        ::ReadProcessMemory(m_hProcess, static_cast<char*>(m_pRemote) + 1024, szText, sizeof szText - 1, &nRead);
        return szText;
    }
    void Check(int nItem) {
        LVITEMA item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(2);
        if (Put(item)) ::SendMessageA(m_hList, LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(m_pRemote));
    }

private:
    bool Put(const LVITEMA& item) {
        SIZE_T nWritten = 0;
        return m_pRemote && ::WriteProcessMemory(m_hProcess, m_pRemote, &item, sizeof item, &nWritten);
    }
    HWND m_hList;
    HANDLE m_hProcess = nullptr;
    void* m_pRemote = nullptr;
};

// In the editor (the Administrator logged in): the options, the account this program runs in
// ticked as protected, then back to the lock screen with the editor's switch of user.
bool ProtectThisAccount() {
    HWND hEditor = WaitForWindowWith(IDC_ARR_OPTIONS, "editor");
    if (!hEditor) return false;
    Click(hEditor, IDC_ARR_OPTIONS);
    HWND hOptions = WaitForWindowWith(IDC_OPTIONS_ACCOUNTS, "options");
    if (!hOptions) return false;
    char szAccount[256] = {};
    DWORD nSize = sizeof szAccount;
    ::GetUserNameA(szAccount, &nSize);
    CRemoteList list(::GetDlgItem(hOptions, IDC_OPTIONS_ACCOUNTS));
    bool bFound = false;
    for (int n = 0; n < list.Count(); ++n) {
        if (_strnicmp(list.Text(n).c_str(), szAccount, std::strlen(szAccount)) != 0) continue;
        list.Check(n);
        bFound = true;
    }
    if (!bFound) return Fail(std::string("the options do not list the account ") + szAccount);
    Click(hOptions, IDOK);
    if (!WaitGone(hOptions, "options")) return false;
    Click(hEditor, IDC_ARR_SWITCH_USER);
    return WaitForWindowWith(IDC_LOCK_LOGIN, "lock screen") != nullptr;
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
    if (const int nGuard = RunGuardStep(argc, argv); nGuard >= 0) return nGuard;
    const std::string strStep = argc > 1 ? argv[1] : "";
    bool bOk = false;
    if (strStep == "start-shortcut" && argc == 4)
        bOk = StartShortcut(argv[2], argv[3]);
    else if (strStep == "login-admin" && argc == 3)
        bOk = LoginAdministrator(argv[2]);
    else if (strStep == "login-sees-refusals" && argc == 3)
        bOk = LoginSeesRefusals(argv[2]);
    else if (strStep == "login-refused" && argc == 3)
        bOk = LoginRefused(argv[2]);
    else if (strStep == "protect-this-account")
        bOk = ProtectThisAccount();
    else if (strStep == "answer-uninstall" && argc == 4)
        bOk = AnswerUninstall(argv[2], std::string(argv[3]) == "right");
    else if (strStep == "uninstaller-ended")
        bOk = UninstallerEnded();
    else if (strStep == "no-quenby")
        bOk = (::Sleep(3000), CountProcesses("Quenby.exe") == 0) || Fail("Quenby runs");
    else if (strStep == "running" || strStep == "gone")
        bOk = Running(strStep == "running");
    else
        return Fail("unknown step"), 2;
    std::printf("install_driver %s: %s\n", strStep.c_str(), bOk ? "ok" : "FAILED");
    return bOk ? 0 : 1;
}
