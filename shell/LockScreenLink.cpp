// Stand-in for the lock screen's side of the controller link while the program has no lock
// screen: nothing is created, so every call on it finds nothing to act on. Replaced by the lock
// screen's implementation of shell/LockScreenLink.h.
#include "shell/LockScreenLink.h"

CLockDlg* CreateLockScreen(CControlDlg*) { return nullptr; }
HWND GetLockScreenWindow(const CLockDlg*) { return nullptr; }
void ShowLockScreen(CLockDlg*) {}
HWND GetLockScreenEditor(const CLockDlg*) { return nullptr; }
HWND GetLockScreenStatus(const CLockDlg*) { return nullptr; }
void RunLockScreenHotKey(CLockDlg*) {}
void SwitchUserFromEditor(CLockDlg*) {}
void TakeRestFromStatus(CLockDlg*) {}
void ShowMiniFromStatus(CLockDlg*) {}
void RunFirstRunDialog(CControlDlg*) {}
