// What the controller does with the lock screen and the windows it opens (the settings editor,
// the status window, the first-run password dialog). The lock screen's own module provides these
// functions; until it is part of the program, shell/LockScreenLink.cpp stands in and reports that
// no lock screen can be made, so the controller keeps its curtain and nothing else.
#pragma once

#include <windows.h>

class CLockDlg;
class CControlDlg;

// Creates the lock screen with new and its modeless window (owned by the application's main
// window, not yet shown); nullptr when it cannot be made. The object deletes itself when its
// window is destroyed.
CLockDlg* CreateLockScreen(CControlDlg* pControl);
HWND GetLockScreenWindow(const CLockDlg* pLockDlg);
void ShowLockScreen(CLockDlg* pLockDlg);
// The open settings editor's and status window's windows, or nullptr.
HWND GetLockScreenEditor(const CLockDlg* pLockDlg);
HWND GetLockScreenStatus(const CLockDlg* pLockDlg);
// Alt+Q: the switch-user action of whichever window is open.
void RunLockScreenHotKey(CLockDlg* pLockDlg);
// Tray commands carried out by the editor or the status window.
void SwitchUserFromEditor(CLockDlg* pLockDlg);
void TakeRestFromStatus(CLockDlg* pLockDlg);
void ShowMiniFromStatus(CLockDlg* pLockDlg);
// The first-run Administrator password dialog, run modally.
void RunFirstRunDialog(CControlDlg* pControl);
