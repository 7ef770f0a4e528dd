// Wrong passwords, counted the same way wherever one is typed (the lock screen, the extra-time
// dialog): each one makes the next try wait longer (the controller's one throttle), an
// Administrator's is written to the event log, and the lock screen's message says so ("The
// password you entered is incorrect.", caption "Wrong password"), with the tray menu off while
// a box is up.
#pragma once

#include <windows.h>

#include <string>

class IControllerHost;

// A box of the program's, with the tray menu off while it is up.
void ShowPasswordBox(HWND hOwner, IControllerHost* pHost, const std::string& strText, const std::string& strCaption);
// True (after saying how long is left) when a try comes during the wait after wrong passwords:
// it is then not looked at, so guessing stays slow.
bool RefuseTryDuringWait(HWND hOwner, IControllerHost* pHost);
// Counts a wrong password of the account, typed at strWhere, without a word.
void CountWrongPassword(IControllerHost* pHost, const std::string& strAccount, const std::string& strWhere);
// Counts it and tells the user.
void RefuseWrongPassword(HWND hOwner, IControllerHost* pHost, const std::string& strAccount, const std::string& strWhere);
