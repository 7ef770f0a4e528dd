// What the status window's own small windows (the mini window, the notice settings dialog) call
// back on it, so that they need not know its class.
#pragma once

#include <windows.h>

class IStatusWndLink {
public:
    virtual ~IStatusWndLink() = default;
    // The status window itself, or nullptr once it is gone.
    virtual HWND StatusWnd() const = 0;
    // The mini window was closed by its close button.
    virtual void OnMiniClosed() = 0;
    // The child's notice settings were changed and stored.
    virtual void RefreshNoticeSettings() = 0;
};
