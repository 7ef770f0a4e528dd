// The save-failure message of the editor and the account dialogs.
#include "win/windows/SaveFailure.h"

#include "core/texts/MsgText.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/TrayMenuPause.h"

int ShowHostMessage(HWND hOwner, const std::string& strText, const std::string& strCaption, UINT nType,
                    IControllerHost* pHost) {
    const CTrayMenuPause trayMenuOff(pHost);
    return ::MessageBoxA(hOwner, strText.c_str(), strCaption.c_str(), nType);
}

bool CheckSaved(bool bSaved, const char* pszFile, HWND hOwner, IControllerHost* pHost) {
    if (bSaved) return true;
    ShowHostMessage(hOwner, FormatMsgText(402, pszFile), GetMsgText(403), MB_OK | MB_ICONEXCLAMATION, pHost);
    return false;
}
