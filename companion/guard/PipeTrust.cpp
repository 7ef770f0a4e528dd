// The pipe's owner and server, and the service's process, as the system tells them.
#include "companion/guard/PipeTrust.h"

#include <aclapi.h>
#include <sddl.h>

#include "companion/CompanionNames.h"
#include "platform/win32/ScopedHandle.h"

bool CPipeTrust::Trusts(HANDLE hPipe) {
    const unsigned long nServer = ServerOf(hPipe);
    if (nServer == 0 || nServer != GuardPid()) return false;
    return OwnerOf(hPipe) == ExpectedOwner();
}

std::string CPipeTrust::OwnerOf(HANDLE hPipe) {
    PSID pOwner = nullptr;
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    char* pszSid = nullptr;
    // Unreadable, or no owner: neither is the system's account.
    const bool bNamed = ::GetSecurityInfo(hPipe, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &pOwner, nullptr,
                                          nullptr, nullptr, &pDescriptor) == ERROR_SUCCESS &&
                        pOwner && ::ConvertSidToStringSidA(pOwner, &pszSid);
    const std::string strOwner(bNamed ? pszSid : "");
    if (pszSid) ::LocalFree(pszSid);
    if (pDescriptor) ::LocalFree(pDescriptor);
    return strOwner;
}

unsigned long CPipeTrust::ServerOf(HANDLE hPipe) {
    ULONG nPid = 0;
    return ::GetNamedPipeServerProcessId(hPipe, &nPid) ? nPid : 0;
}

unsigned long CPipeTrust::GuardPid() {
    const CServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return 0;
    const CServiceHandle service(::OpenServiceA(manager.Get(), kGuardServiceName, SERVICE_QUERY_STATUS));
    SERVICE_STATUS_PROCESS status{};
    DWORD nNeeded = 0;
    if (!service || !::QueryServiceStatusEx(service.Get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                            sizeof status, &nNeeded))
        return 0;
    return status.dwCurrentState == SERVICE_RUNNING ? status.dwProcessId : 0;
}
