// What the controller needs of the lock screen it opens: whose window is open, and the requests of
// the tray, the hot key, the heartbeat and the end of the Windows session, which the lock screen
// passes on to that window. So the controller never names the account windows' classes.
#pragma once

#include <string>

// Whose window the lock screen has open.
enum class LOGGED_IN { NOBODY, ADMINISTRATOR, CHILD };

class ILockScreen {
public:
    virtual ~ILockScreen() = default;

    virtual LOGGED_IN LoggedIn() const = 0;
    // The logged-in child's name; "" when no child is logged in.
    virtual std::string LoggedInChild() const = 0;
    // The open account window comes to the foreground (the tray's Show); nothing when none is open.
    virtual void ShowAccountWindow() = 0;
    // The hot key and the tray's Switch User: the open account window's switch of user, which it
    // ignores while one of its own dialogs is open.
    virtual void SwitchUser() = 0;
    // The tray's Take a rest and Show mini window: the child's status window, as its button and
    // its checkbox would. Nothing while no child is logged in.
    virtual void TakeRest() = 0;
    virtual void ShowMiniWindow() = 0;
    // Writes the logged-in child's use now (the Windows session ends); the window says so when it
    // fails. False when it failed; true when there was nothing to write.
    virtual bool SaveChildsUse() = 0;
};
