// The refusal of a wrong password.
#include "dialogs/win32/PasswordRefusal.h"

#include "settings/MsgText.h"
#include "shell/win32/ControllerHost.h"

void RefuseWrongPassword(HWND hOwner, IControllerHost* pHost, CDataStore*, const std::string&) {
    if (pHost) pHost->EnableTrayMenu(false);
    ::MessageBoxA(hOwner, GetMsgText(102).c_str(), GetMsgText(103).c_str(), MB_OK);
    if (pHost) pHost->EnableTrayMenu(true);
}
