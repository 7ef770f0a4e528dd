// The local accounts, through the network management calls of the local machine.
#include "platform/win32/WindowsAccounts.h"

#include <windows.h>
#include <lm.h>

#include <functional>

namespace {

std::string Narrow(LPCWSTR pszWide) {
    char szName[256] = {};
    ::WideCharToMultiByte(CP_ACP, 0, pszWide, -1, szName, sizeof szName, nullptr, nullptr);
    return szName;
}

// Runs the enumeration at one level, handing over each batch; false when the level is not served.
bool Enumerate(DWORD nLevel, const std::function<void(LPBYTE pBuffer, DWORD nRead)>& onBatch) {
    DWORD nResume = 0;
    NET_API_STATUS nStatus = 0;
    do {
        LPBYTE pBuffer = nullptr;
        DWORD nRead = 0, nTotal = 0;
        nStatus = ::NetUserEnum(nullptr, nLevel, FILTER_NORMAL_ACCOUNT, &pBuffer, MAX_PREFERRED_LENGTH, &nRead, &nTotal,
                                &nResume);
        if ((nStatus == NERR_Success || nStatus == ERROR_MORE_DATA) && pBuffer) onBatch(pBuffer, nRead);
        if (pBuffer) ::NetApiBufferFree(pBuffer);
    } while (nStatus == ERROR_MORE_DATA);
    return nStatus == NERR_Success;
}

// Whether this process's account is in the Administrators group (enabled or not).
bool CurrentIsAdministrator() {
    HANDLE hToken = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken)) return false;
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD nSidSize = sizeof sid;
    DWORD nSize = 0;
    ::GetTokenInformation(hToken, TokenGroups, nullptr, 0, &nSize);
    std::string buffer(nSize, '\0');
    bool bAdmin = false;
    if (nSize && ::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &nSidSize) &&
        ::GetTokenInformation(hToken, TokenGroups, buffer.data(), nSize, &nSize)) {
        const auto* pGroups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
        for (DWORD n = 0; n < pGroups->GroupCount && !bAdmin; ++n) bAdmin = ::EqualSid(pGroups->Groups[n].Sid, sid);
    }
    ::CloseHandle(hToken);
    return bAdmin;
}

}  // namespace

std::vector<WINDOWS_ACCOUNT> LocalWindowsAccounts() {
    std::vector<WINDOWS_ACCOUNT> accounts;
    const bool bDetailed = Enumerate(1, [&accounts](LPBYTE pBuffer, DWORD nRead) {
        const auto* pUsers = reinterpret_cast<const USER_INFO_1*>(pBuffer);
        for (DWORD n = 0; n < nRead; ++n)
            if (!(pUsers[n].usri1_flags & UF_ACCOUNTDISABLE))
                accounts.push_back(WINDOWS_ACCOUNT{Narrow(pUsers[n].usri1_name), pUsers[n].usri1_priv == USER_PRIV_ADMIN});
    });
    if (bDetailed) return accounts;
    // Where only the names are told (Wine), the account this program runs in is judged by its token.
    char szCurrent[256] = {};
    DWORD nCurrent = sizeof szCurrent;
    ::GetUserNameA(szCurrent, &nCurrent);
    Enumerate(0, [&accounts, &szCurrent](LPBYTE pBuffer, DWORD nRead) {
        const auto* pUsers = reinterpret_cast<const USER_INFO_0*>(pBuffer);
        for (DWORD n = 0; n < nRead; ++n) {
            const std::string strName = Narrow(pUsers[n].usri0_name);
            accounts.push_back(WINDOWS_ACCOUNT{strName, ::lstrcmpiA(strName.c_str(), szCurrent) == 0 && CurrentIsAdministrator()});
        }
    });
    return accounts;
}
