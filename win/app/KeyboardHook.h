// The low-level keyboard hook of the lock screen: while installed, the keys CKeyRules names never
// reach Windows (the Start menu, the task switcher, Task Manager's hot key). One per process.
#pragma once

#include <windows.h>

class CKeyboardHook {
public:
    CKeyboardHook() = default;
    ~CKeyboardHook() { Remove(); }
    CKeyboardHook(const CKeyboardHook&) = delete;
    CKeyboardHook& operator=(const CKeyboardHook&) = delete;

    // Installs the hook unless it is installed; false when Windows refused it.
    bool Install();
    void Remove();
    bool IsInstalled() const { return m_hHook != nullptr; }

private:
    static LRESULT CALLBACK Proc(int nCode, WPARAM wParam, LPARAM lParam);
    HHOOK m_hHook = nullptr;
};
