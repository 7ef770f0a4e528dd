// Runs this thread's messages, as the program's loop would, until a condition holds.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/win32/WinApp.h"

// True as soon as the condition holds; false when it still does not after the time given. The
// bound only matters when a test fails, so it is generous for a loaded machine.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD nMilliseconds = 10000) {
    const DWORD nStart = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CWinApp::PreTranslate(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        if (condition()) return true;
        if (::GetTickCount() - nStart > nMilliseconds) return false;
        ::Sleep(5);
    }
}
