// Keys typed as the keyboard would: each key of a chord pressed in order, then released in the
// reverse order (SendInput); and a low-level hook that counts the key presses reaching it.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

inline void PressAndRelease(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD nKey : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = nKey;
        inputs.push_back(input);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--it;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Key presses that reached CountKeys, a low-level hook installed before the program's (so called
// after it): what the program let through to Windows.
inline int g_nKeysSeen = 0;
inline LRESULT CALLBACK CountKeys(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN)) ++g_nKeysSeen;
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
