// Tessaly.exe's guard arguments.
#include "companion/guard/GuardSwitches.h"

#include <windows.h>

#include "companion/CompanionNames.h"
#include "companion/guard/GuardService.h"
#include "companion/guard/ServiceSetup.h"

namespace {

void Say(const std::string& strText) {
    const HANDLE hOut = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (!hOut || hOut == INVALID_HANDLE_VALUE) return;
    const std::string strLine = strText + "\r\n";
    DWORD nWritten = 0;
    ::WriteFile(hOut, strLine.data(), static_cast<DWORD>(strLine.size()), &nWritten, nullptr);
}

std::string OwnPath() {
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    return szPath;
}

}  // namespace

int RunGuardSwitch(const std::string& strArguments) {
    if (strArguments == kServiceSwitch) return CGuardService::RunAsService();
    if (strArguments == kConsoleSwitch) {
        ::AttachConsole(ATTACH_PARENT_PROCESS);
        const int nResult = CGuardService::RunInConsole();
        if (nResult != 0) Say("The guard could not start: its pipe is held by another program, or another guard runs.");
        return nResult;
    }
    std::string strError;
    if (strArguments == kRegisterSwitch) {
        if (CServiceSetup::Register(OwnPath(), strError)) return 0;
        Say("The guard service was not registered: " + strError);
        return 1;
    }
    if (strArguments == kUnregisterSwitch) {
        if (CServiceSetup::Unregister(strError)) return 0;
        Say("The guard service was not removed: " + strError);
        return 1;
    }
    const std::string strFirstRun = std::string(kFirstRunSwitch) + " ";
    if (strArguments.rfind(strFirstRun, 0) == 0) {
        const int nResult = CServiceSetup::FirstPassword(strArguments.substr(strFirstRun.size()));
        if (nResult == 1) Say("An Administrator's password was kept from the earlier installation.");
        if (nResult == 2) Say("The Administrator's password could not be kept.");
        return nResult == 2 ? 2 : 0;
    }
    return -1;
}
