// The keys the lock screen keeps.
#include "core/rules/KeyRules.h"

bool CKeyRules::IsSwallowed(unsigned nVirtualKey, bool bAlt, bool bCtrl) {
    switch (nVirtualKey) {
        case kLeftWin:
        case kRightWin:
            return true;
        case kTab:
            return bAlt;  // Alt+Tab (and Alt+Shift+Tab)
        case kEscape:
            return bAlt || bCtrl;  // Alt+Esc, Ctrl+Esc, Ctrl+Shift+Esc
        default:
            return false;
    }
}
