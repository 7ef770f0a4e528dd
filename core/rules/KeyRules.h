// Which keys the lock screen keeps from Windows while the curtain is up: the Windows keys and the
// combinations that switch to or open something else (Alt+Tab, Alt+Esc, Ctrl+Esc, Ctrl+Shift+Esc).
// Ctrl+Alt+Del never reaches a program and cannot be kept.
#pragma once

class CKeyRules {
public:
    // Virtual-key codes, as Windows numbers them.
    static constexpr unsigned kTab = 0x09, kEscape = 0x1B, kLeftWin = 0x5B, kRightWin = 0x5C;

    // True when a press or release of the key, with the modifiers down, is swallowed.
    static bool IsSwallowed(unsigned nVirtualKey, bool bAlt, bool bCtrl);
};
