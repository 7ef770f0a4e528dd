// What the windows need of the controller, handed down at construction the way the data store is:
// controller -> lock screen -> {status window -> mini window and notice window; editor -> its
// dialogs}. No window looks the controller up, so each can be driven with a fake host in tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class CLoginThrottle;

class IControllerHost {
public:
    virtual ~IControllerHost() = default;

    // The curtain: the controller's full-screen window, which the account windows stand above.
    virtual HWND CurtainWnd() const = 0;
    // True while the desktop is locked (the curtain covers it and the other windows are hidden).
    virtual bool IsLocked() const = 0;
    // Hides the other windows and records them, so that the unlock can give them back.
    virtual void LockDesktop() = 0;
    // Gives the desktop back: the hidden windows return and the curtain steps aside.
    virtual void UnlockDesktop() = 0;
    // The processes whose windows the lock lets through while it stands (a program that counts
    // outside the day's limits): they are neither hidden nor covered, and a window of theirs in
    // front is not taken away. Called every second by the child's status window; empty for none.
    virtual void LetThrough(const std::vector<std::uint32_t>& processes) = 0;
    // True when the window belongs to a process let through.
    virtual bool IsLetThrough(HWND hWnd) const = 0;
    // Copies the text (cut to 127 characters) into the tray tip.
    virtual void SetTrayTip(const std::string& strTip) = 0;
    // False while a message box of ours is open: a right click on the tray then shows the window.
    virtual void EnableTrayMenu(bool bEnable) = 0;
    // True when something stands in front of the curtain at one of its probe points.
    virtual bool IsObscured() = 0;
    // True when the curtain's rectangle spans the whole area the lock covers (every monitor).
    virtual bool CurtainCoversScreen() const = 0;
    // Ends the program: the curtain itself refuses to be closed, so this is the only way out.
    virtual void Quit() = 0;
    // Tells the companion the program's state (1 locked, 2 a child, 3 closing, 4 the Administrator).
    virtual void SetMessengerState(int nState) = 0;
    // The lock background (1 opaque, 2 half transparent) from the next lock on.
    virtual void SetLockBackground(int nMode) = 0;
    // The growing wait after wrong passwords, one for every window that asks for a password, so
    // that moving to another window does not start the count again.
    virtual CLoginThrottle& LoginThrottle() = 0;
};
