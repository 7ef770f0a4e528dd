// Tells the parent that a data file could not be saved, in the program's message-box style, with
// the tray menu off while the box is up. The data stays in memory and the next save tries again.
#pragma once

#include <windows.h>

#include <string>

class IControllerHost;

// A message box of the program's windows, with the tray menu off while it is up; its answer.
int ShowHostMessage(HWND hOwner, const std::string& strText, const std::string& strCaption, UINT nType,
                    IControllerHost* pHost);

// Returns bSaved; when it is false the message naming the file is shown first.
bool CheckSaved(bool bSaved, const char* pszFile, HWND hOwner, IControllerHost* pHost);
