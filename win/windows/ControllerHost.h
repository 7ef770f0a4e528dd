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

    // The curtain is the controller's full-screen window, which the account windows stand above.
    // They ask for what they need of it; none of them touches it.
    // Brings it back when it was minimised or dropped to the tray; nothing otherwise.
    virtual void RestoreCurtain() = 0;
    // Minimises it (an account window's minimise: the program goes with it).
    virtual void MinimiseCurtain() = 0;
    // Minimises and hides it and takes it off the taskbar: the program lives on in the tray.
    virtual void DropToTray() = 0;
    // Shows a window that the curtain owns right above the curtain.
    virtual void ShowAboveCurtain(HWND hWnd) = 0;
    // Whether the curtain's system menu offers Close (the Administrator's editor) or greys it out
    // (a child's status window).
    virtual void OfferCurtainClose(bool bOffer) = 0;
    // True when something stands in front of the curtain at one of its probe points.
    virtual bool IsObscured() = 0;
    // True when the curtain's rectangle spans the whole area the lock covers (every monitor).
    virtual bool CurtainCoversScreen() const = 0;

    // Copies the text (cut to 127 characters) into the tray tip.
    virtual void SetTrayTip(const std::string& strTip) = 0;
    // A box of ours is open: while any holds it, a right click on the tray shows the window
    // instead of the menu. Held and released by CTrayMenuPause (TrayMenuPause.h) only.
    virtual void HoldTrayMenu() = 0;
    virtual void ReleaseTrayMenu() = 0;
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
