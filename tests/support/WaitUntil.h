// Runs this thread's messages, as the program's loop would, until a condition holds.
#pragma once

#include <windows.h>

#include <functional>

#include "win/framework/WinApp.h"

// True as soon as the condition holds; false when it still does not after the time given. The
// bound only matters when a test fails, so it is generous for a loaded machine.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD nMilliseconds = 10000) {
    const DWORD nStart = ::GetTickCount();
    for (;;) {
        // The condition is looked at after every message: a queue that never runs dry (Wine can
        // keep reporting a paint for a window it thinks is covered) must not keep it from being seen.
        MSG msg;
        const bool bGot = ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        if (bGot && !CWinApp::PreTranslate(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (condition()) return true;
        if (::GetTickCount() - nStart > nMilliseconds) return false;
        if (!bGot) ::Sleep(5);
    }
}
