// The start with Windows: the Run and RunOnce values made to follow the Administrator's choice.
#include "win/windows/AutoRun.h"

#include <windows.h>

#include <string>

#include "companion/CompanionNames.h"
#include "core/seams/SystemActions.h"
#include "platform/win32/ModulePath.h"
#include "win/controls/WinUtilities.h"

namespace {

constexpr const char* kRunOnceName = "*Quenby";

long AlignRunValue(bool bWanted) {
    if (bWanted) return IsAutoRun() ? ERROR_SUCCESS : SetAutoRun();
    std::string strData;
    if (CSystem::Get().ReadRunValue(GetRunValueName(), strData) != ERROR_SUCCESS) return ERROR_SUCCESS;
    return RemoveAutoRun();
}

// Started by it, the program is quiet about a second start (the Run value starts it too).
long AlignRunOnceValue(bool bWanted) {
    ISystemActions& system = CSystem::Get();
    if (bWanted) {
        std::string strCommand(1, '"');
        strCommand.append(GetModulePath()).append("\" ").append(kMuteToken);
        return system.WriteRunOnceValue(kRunOnceName, strCommand);
    }
    const long nStatus = system.DeleteRunOnceValue(kRunOnceName);
    return nStatus == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : nStatus;
}

}  // namespace

long AlignAutoRun(bool bWanted) {
    const long nRun = AlignRunValue(bWanted);
    const long nRunOnce = AlignRunOnceValue(bWanted);
    return nRun != ERROR_SUCCESS ? nRun : nRunOnce;
}
