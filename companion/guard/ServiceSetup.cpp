// Registering and removing the guard service; the first Administrator's record.
#include "companion/guard/ServiceSetup.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "companion/CompanionNames.h"
#include "companion/guard/FolderRights.h"
#include "core/guard/GuardKeeper.h"
#include "core/seams/DataFolder.h"
#include "core/seams/FileCalls.h"
#include "core/store/AdminAccount.h"
#include "core/store/EventLog.h"
#include "platform/win32/ScopedHandle.h"

namespace {

std::string LastError(const std::string& strWhat) { return strWhat + " (error " + std::to_string(::GetLastError()) + ")"; }

std::string Lower(std::string strText) {
    for (char& c : strText) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return strText;
}

std::string WithoutSeparator(const std::string& strFolder) {
    return !strFolder.empty() && (strFolder.back() == '\\' || strFolder.back() == '/')
               ? strFolder.substr(0, strFolder.size() - 1)
               : strFolder;
}

bool SetSafeBootKey(const char* pszKey) {
    CRegKeyHandle key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    static const char kService[] = "Service";
    return ::RegSetValueExA(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kService), sizeof kService) ==
           ERROR_SUCCESS;
}

bool WaitForState(SC_HANDLE hService, DWORD nState, unsigned long nTimeoutMs) {
    const DWORD nStart = ::GetTickCount();
    for (;;) {
        SERVICE_STATUS_PROCESS status{};
        DWORD nNeeded = 0;
        if (!::QueryServiceStatusEx(hService, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status, &nNeeded))
            return false;
        if (status.dwCurrentState == nState) return true;
        if (::GetTickCount() - nStart > nTimeoutMs) return false;
        ::Sleep(100);
    }
}

}  // namespace

bool CServiceSetup::Register(const std::string& strTessaly, std::string& strError) {
    CServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return strError = LastError("the service manager cannot be opened; administrator rights are needed"), false;
    std::string strUnused;
    if (CServiceHandle old(::OpenServiceA(manager.Get(), kGuardServiceName, SERVICE_QUERY_STATUS)); old) Unregister(strUnused);
    const std::string strCommand = "\"" + strTessaly + "\" " + kServiceSwitch;
    CServiceHandle service(::CreateServiceA(manager.Get(), kGuardServiceName, kGuardServiceTitle, SERVICE_ALL_ACCESS,
                                            SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                            strCommand.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
    if (!service) return strError = LastError("the service cannot be created"), false;

    char szDescription[] = "Keeps Quenby running in the children's Windows accounts and owns its data.";
    SERVICE_DESCRIPTIONA description{szDescription};
    ::ChangeServiceConfig2A(service.Get(), SERVICE_CONFIG_DESCRIPTION, &description);
    // Started again 1 s after a failure, twice, then after 5 s; the count starts over after a day.
    SC_ACTION actions[3] = {{SC_ACTION_RESTART, 1000}, {SC_ACTION_RESTART, 1000}, {SC_ACTION_RESTART, 5000}};
    SERVICE_FAILURE_ACTIONSA failure{};
    failure.dwResetPeriod = 24 * 3600;
    failure.cActions = 3;
    failure.lpsaActions = actions;
    if (!::ChangeServiceConfig2A(service.Get(), SERVICE_CONFIG_FAILURE_ACTIONS, &failure))
        return strError = LastError("the service's failure actions cannot be set"), false;
    // A stop with an error (its pipe taken by someone else) counts as a failure too.
    SERVICE_FAILURE_ACTIONS_FLAG flag{TRUE};
    ::ChangeServiceConfig2A(service.Get(), SERVICE_CONFIG_FAILURE_ACTIONS_FLAG, &flag);
    if (!SetSafeBootKey(kSafeBootMinimal) || !SetSafeBootKey(kSafeBootNetwork))
        return strError = LastError("the Safe Mode keys cannot be written"), false;
    if (!::StartServiceA(service.Get(), 0, nullptr) && ::GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
        return strError = LastError("the service cannot be started"), false;
    return true;
}

bool CServiceSetup::Stop(unsigned long nTimeoutMs) {
    CServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return false;
    CServiceHandle service(::OpenServiceA(manager.Get(), kGuardServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS));
    if (!service) return ::GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
    SERVICE_STATUS status{};
    ::ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
    return WaitForState(service.Get(), SERVICE_STOPPED, nTimeoutMs);
}

bool CServiceSetup::Unregister(std::string& strError) {
    CServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return strError = LastError("the service manager cannot be opened; administrator rights are needed"), false;
    bool bDone = true;
    if (CServiceHandle service(::OpenServiceA(manager.Get(), kGuardServiceName, SERVICE_ALL_ACCESS)); service) {
        SERVICE_STATUS status{};
        ::ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
        WaitForState(service.Get(), SERVICE_STOPPED, 20000);
        if (!::DeleteService(service.Get()) && ::GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE)
            bDone = false, strError = LastError("the service cannot be removed");
    }
    for (const char* pszKey : {kSafeBootMinimal, kSafeBootNetwork}) ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, pszKey);
    CFolderRights::Release(WithoutSeparator(CDataFolder::Get()));
    return bDone;
}

bool CServiceSetup::IsRegisteredFor(const std::string& strFolder) {
    CServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return false;
    CServiceHandle service(::OpenServiceA(manager.Get(), kGuardServiceName, SERVICE_QUERY_CONFIG));
    if (!service) return false;
    DWORD nNeeded = 0;
    ::QueryServiceConfigA(service.Get(), nullptr, 0, &nNeeded);
    std::vector<BYTE> buffer(nNeeded);
    auto* pConfig = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    if (nNeeded == 0 || !::QueryServiceConfigA(service.Get(), pConfig, nNeeded, &nNeeded) || !pConfig->lpBinaryPathName)
        return false;
    std::string strExpected(1, '"');
    strExpected.append(WithoutSeparator(strFolder)).append(1, '\\').append(kCompanionExe).append(1, '"');
    strExpected = Lower(strExpected);
    return Lower(pConfig->lpBinaryPathName).rfind(strExpected, 0) == 0;
}

int CServiceSetup::FirstPassword(const std::string& strPassword) {
    const std::string strData = CDataFolder::Get();
    if (!CFileCalls::Get().MakeFolder(WithoutSeparator(strData))) return 2;
    CFolderRights::GuardData(WithoutSeparator(strData));
    CGuardKeeper keeper;
    if (!keeper.Start()) return 2;
    CFolderRights::GuardPrivate(WithoutSeparator(keeper.PrivateFolder()));
    BYTES existing;
    if (keeper.Read(CAdminAccount::kFileName, existing)) return 1;
    CKeeperScope scope(keeper);
    CAdminAccount admin;
    admin.m_admin.bFirstRunPending = 0;
    if (!admin.SetPassword(strPassword) || !admin.Save()) return 2;
    CEventLog::Append(CEventLog::kFirstRun, CAdminAccount::kName, "the Administrator password was chosen at installation");
    return 0;
}
