// Holds the tray menu off for as long as a modal box of ours is open, and lets it go however the
// scope is left: a menu command would otherwise act under the box (end the login, quit).
#pragma once

#include "win/windows/ControllerHost.h"

class CTrayMenuPause {
public:
    // The host may be null (a window tested without one).
    explicit CTrayMenuPause(IControllerHost* pHost) : m_pHost(pHost) {
        if (m_pHost) m_pHost->HoldTrayMenu();
    }
    ~CTrayMenuPause() {
        if (m_pHost) m_pHost->ReleaseTrayMenu();
    }
    CTrayMenuPause(const CTrayMenuPause&) = delete;
    CTrayMenuPause& operator=(const CTrayMenuPause&) = delete;

private:
    IControllerHost* m_pHost;
};
