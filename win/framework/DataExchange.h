// Moving values between dialog controls and members: bSave true reads the control, false fills it.
#pragma once

#include <windows.h>

#include <string>

void DDX_Text(HWND hDlg, int nId, std::string& strValue, bool bSave);
void DDX_Text(HWND hDlg, int nId, int& nValue, bool bSave);
void DDX_Check(HWND hDlg, int nId, int& nValue, bool bSave);
// The selected index of a combo box (-1 for none).
void DDX_CBIndex(HWND hDlg, int nId, int& nIndex, bool bSave);
// Limits the text a user can type into an edit control.
void DDV_MaxChars(HWND hDlg, int nId, int nCount);
