// What the desktop lock needs of the controller, whose window is the curtain: the window it puts
// over the screen and the curtain's look.
#pragma once

#include <windows.h>

class IDesktopLockHost {
public:
    virtual ~IDesktopLockHost() = default;
    // The curtain, which the lock makes topmost over every monitor and steps aside again.
    virtual HWND CurtainWnd() const = 0;
    // The curtain's look: the lock background while locked, invisible while not.
    virtual void ShowCurtainLocked(bool bLocked) = 0;
};
