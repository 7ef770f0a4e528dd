// The save-failure message of the editor and the account dialogs.
#include "win/windows/SaveFailure.h"

#include "core/texts/MsgText.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/TrayMenuPause.h"

bool CheckSaved(bool bSaved, const char* pszFile, HWND hOwner, IControllerHost* pHost) {
    if (bSaved) return true;
    const CTrayMenuPause trayMenuOff(pHost);
    ::MessageBoxA(hOwner, FormatMsgText(402, pszFile).c_str(), GetMsgText(403).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}
