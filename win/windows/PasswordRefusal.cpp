// The refusal of a wrong password.
#include "win/windows/PasswordRefusal.h"

#include "core/rules/LoginThrottle.h"
#include "core/seams/Clock.h"
#include "core/store/AdminAccount.h"
#include "core/store/EventLog.h"
#include "core/texts/MsgText.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/TrayMenuPause.h"

void ShowPasswordBox(HWND hOwner, IControllerHost* pHost, const std::string& strText, const std::string& strCaption) {
    const CTrayMenuPause trayMenuOff(pHost);
    ::MessageBoxA(hOwner, strText.c_str(), strCaption.c_str(), MB_OK);
}

bool RefuseTryDuringWait(HWND hOwner, IControllerHost* pHost) {
    if (!pHost) return false;
    const int nWait = pHost->LoginThrottle().SecondsLeft(CClock::Now());
    if (nWait == 0) return false;
    ShowPasswordBox(hOwner, pHost, FormatMsgText(410, nWait), GetMsgText(103));
    return true;
}

void CountWrongPassword(IControllerHost* pHost, const std::string& strAccount, const std::string& strWhere) {
    int nInARow = 1;
    if (pHost) {
        CLoginThrottle& throttle = pHost->LoginThrottle();
        throttle.OnWrong(CClock::Now());
        nInARow = throttle.WrongInARow();
    }
    if (strAccount == CAdminAccount::kName)
        CEventLog::Append(CEventLog::kWrongPassword, strAccount,
                          strWhere + " (" + std::to_string(nInARow) + " in a row)");
}

void RefuseWrongPassword(HWND hOwner, IControllerHost* pHost, const std::string& strAccount, const std::string& strWhere) {
    CountWrongPassword(pHost, strAccount, strWhere);
    ShowPasswordBox(hOwner, pHost, GetMsgText(102), GetMsgText(103));
}
