// The one answer to a wrong password typed into one of the program's windows: the lock screen's
// message ("The password you entered is incorrect.", caption "Wrong password"), with the tray menu
// off while it is up. Every refusal goes through here, so that each is counted the same way.
#pragma once

#include <windows.h>

#include <string>

class CDataStore;
class IControllerHost;

void RefuseWrongPassword(HWND hOwner, IControllerHost* pHost, CDataStore* pStore, const std::string& strAccount);
