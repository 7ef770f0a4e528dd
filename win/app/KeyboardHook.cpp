// The lock screen's keyboard hook.
#include "win/app/KeyboardHook.h"

#include "core/rules/KeyRules.h"

bool CKeyboardHook::Install() {
    if (!m_hHook) m_hHook = ::SetWindowsHookExA(WH_KEYBOARD_LL, Proc, ::GetModuleHandleA(nullptr), 0);
    return m_hHook != nullptr;
}

void CKeyboardHook::Remove() {
    if (m_hHook) ::UnhookWindowsHookEx(m_hHook);
    m_hHook = nullptr;
}

namespace {

// The modifiers as the hook saw them go down and up: the key state the system keeps may not yet
// include the key the hook is asked about, nor one injected a moment before.
bool g_bAltDown = false;
bool g_bCtrlDown = false;

void NoteModifier(DWORD nKey, bool bDown) {
    if (nKey == VK_MENU || nKey == VK_LMENU || nKey == VK_RMENU) g_bAltDown = bDown;
    if (nKey == VK_CONTROL || nKey == VK_LCONTROL || nKey == VK_RCONTROL) g_bCtrlDown = bDown;
}

}  // namespace

LRESULT CALLBACK CKeyboardHook::Proc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION) {
        const auto* pKey = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        NoteModifier(pKey->vkCode, wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN);
        const bool bAlt = g_bAltDown || (pKey->flags & LLKHF_ALTDOWN) != 0;
        const bool bCtrl = g_bCtrlDown || (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
        if (CKeyRules::IsSwallowed(pKey->vkCode, bAlt, bCtrl)) return 1;
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
