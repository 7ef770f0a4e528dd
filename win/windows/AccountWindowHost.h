// What an account's window (the Administrator's editor, a child's status window) needs of the lock
// screen that opened it, handed down at construction: to be let go when it closes, and the lock
// screen back in front. The windows so never name the lock screen's class.
#pragma once

class CWnd;

class IAccountWindowHost {
public:
    virtual ~IAccountWindowHost() = default;
    // The window is closing. True when it was the lock screen's open account window, which it now
    // forgets; false when the lock screen itself is closing it (the end of the program), when the
    // lock screen does not come back.
    virtual bool ReleaseAccountWindow(const CWnd* pWnd) = 0;
    // The lock screen back after a switch of user from the editor: the account list read anew,
    // the desktop locked and the lock screen in front with the focus.
    virtual void ReturnFromEditor() = 0;
    // The lock screen back after a child's status window closed: centred, shown and in front.
    virtual void ReturnFromStatusWindow() = 0;
};
