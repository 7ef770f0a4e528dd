// The lock screen's warning that the data folder takes no files, in words a parent understands.
#pragma once

#include <windows.h>

#include <string>

// The warning's text for a data folder.
std::string DataFolderWarningText(const std::string& strFolder);
// Makes the dialog taller and puts the warning (control IDC_LOCK_DATA_WARNING) below its controls.
void AddDataFolderWarning(HWND hDlg, const std::string& strFolder);
