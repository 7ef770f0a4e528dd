// Sessions and starts through the Terminal Services calls.
#include "companion/guard/SessionControl.h"

#include <windows.h>
#include <userenv.h>
#include <wtsapi32.h>

#include <algorithm>
#include <vector>

#include "platform/win32/ScopedHandle.h"

namespace {

std::string SessionText(DWORD nSession, WTS_INFO_CLASS nInfo) {
    LPSTR pszText = nullptr;
    DWORD nBytes = 0;
    if (!::WTSQuerySessionInformationA(WTS_CURRENT_SERVER_HANDLE, nSession, nInfo, &pszText, &nBytes) || !pszText)
        return {};
    std::string strText = pszText;
    ::WTSFreeMemory(pszText);
    return strText;
}

// Whether the token's groups hold Administrators, enabled or only for denying (UAC's filtered token).
bool HasAdministrators(HANDLE hToken) {
    DWORD nSize = 0;
    ::GetTokenInformation(hToken, TokenGroups, nullptr, 0, &nSize);
    std::vector<BYTE> buffer(nSize);
    if (nSize == 0 || !::GetTokenInformation(hToken, TokenGroups, buffer.data(), nSize, &nSize)) return false;
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD nSidSize = sizeof sid;
    if (!::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &nSidSize)) return false;
    const auto* pGroups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD n = 0; n < pGroups->GroupCount; ++n)
        if (::EqualSid(pGroups->Groups[n].Sid, sid)) return true;
    return false;
}

bool IsAdministrator(DWORD nSession) {
    CKernelHandle token;
    if (!::WTSQueryUserToken(nSession, token.Receive())) return false;
    if (HasAdministrators(token.Get())) return true;
    // An administrator's session under UAC runs on the filtered token; the full one is linked.
    TOKEN_LINKED_TOKEN linked{};
    DWORD nSize = 0;
    if (!::GetTokenInformation(token.Get(), TokenLinkedToken, &linked, sizeof linked, &nSize)) return false;
    const bool bAdmin = HasAdministrators(linked.LinkedToken);
    ::CloseHandle(linked.LinkedToken);
    return bAdmin;
}

}  // namespace

std::vector<GUARD_SESSION> CWtsSessions::ActiveSessions() {
    std::vector<DWORD> ids;
    PWTS_SESSION_INFOA pSessions = nullptr;
    DWORD nCount = 0;
    if (::WTSEnumerateSessionsA(WTS_CURRENT_SERVER_HANDLE, 0, 1, &pSessions, &nCount)) {
        for (DWORD n = 0; n < nCount; ++n)
            if (pSessions[n].State == WTSActive) ids.push_back(pSessions[n].SessionId);
        ::WTSFreeMemory(pSessions);
    }
    // Some systems list no session; the one at the machine's screen is always asked for.
    const DWORD nConsole = ::WTSGetActiveConsoleSessionId();
    if (nConsole != 0xFFFFFFFF && std::find(ids.begin(), ids.end(), nConsole) == ids.end()) ids.push_back(nConsole);
    std::vector<GUARD_SESSION> sessions;
    for (DWORD nId : ids) {
        GUARD_SESSION session;
        session.nId = nId;
        session.strAccount = SessionText(nId, WTSUserName);
        if (session.strAccount.empty()) continue;  // nobody logged on (the logon screen)
        session.bAdministrator = IsAdministrator(nId);
        sessions.push_back(session);
    }
    return sessions;
}

unsigned long CWtsSessions::StartProgram(unsigned long nSession, const std::string& strPath,
                                         const std::string& strCommandLine) {
    CKernelHandle token;
    if (!::WTSQueryUserToken(nSession, token.Receive())) return 0;
    LPVOID pEnvironment = nullptr;
    ::CreateEnvironmentBlock(&pEnvironment, token.Get(), FALSE);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    char szDesktop[] = "winsta0\\default";
    si.lpDesktop = szDesktop;
    PROCESS_INFORMATION pi{};
    std::string strLine = strCommandLine;
    const std::string strFolder = strPath.substr(0, strPath.find_last_of("\\/") + 1);
    const BOOL bStarted = ::CreateProcessAsUserA(token.Get(), strPath.c_str(), strLine.data(), nullptr, nullptr, FALSE,
                                                 pEnvironment ? CREATE_UNICODE_ENVIRONMENT : 0, pEnvironment,
                                                 strFolder.empty() ? nullptr : strFolder.c_str(), &si, &pi);
    if (pEnvironment) ::DestroyEnvironmentBlock(pEnvironment);
    if (!bStarted) return 0;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return pi.dwProcessId;
}
