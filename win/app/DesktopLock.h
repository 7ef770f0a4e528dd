// The desktop lock: the full-screen program in front is minimised, hidden or pushed off the
// screen, every other program's visible top-level window is hidden, each is recorded in
// winnodes.tmp so that the unlock (or the next start after a crash) can give it back, and the
// curtain goes over every monitor, topmost, with the keyboard hook. What it needs of the
// controller comes through IDesktopLockHost.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "core/store/HiddenWindowList.h"
#include "win/app/DesktopLockHost.h"
#include "win/app/KeyboardHook.h"
#include "win/app/ScreenLayout.h"

class CDesktopLock {
public:
    // A timer of the curtain's, the lock's own: a while after a full-screen program was put
    // away, the lock looks again (see Settle).
    static constexpr UINT_PTR kSettleTimer = 3;
    static constexpr UINT kSettleDelay = 500;

    // The host outlives the lock.
    explicit CDesktopLock(IDesktopLockHost& host) : m_host(host) {}
    CDesktopLock(const CDesktopLock&) = delete;
    CDesktopLock& operator=(const CDesktopLock&) = delete;

    // Locks the desktop; again while locked, windows already recorded are skipped and a
    // full-screen program in front is recorded afresh. The list is saved after every lock.
    void Lock();
    // Gives every recorded window back (a full-screen program after its display mode), empties
    // the list, and the curtain steps aside: no longer topmost, invisible. Nothing when unlocked.
    void Unlock();
    // Shows the swept windows again (not the full-screen ones, which Unlock gives back): at the
    // start for a list an ended run left, and in every unlock.
    void RestoreSweptWindows();
    bool IsLocked() const { return m_bLocked; }
    // The processes whose windows the lock lets through while it stands: neither hidden nor
    // covered (raised above the curtain, and made ordinary again when they are no longer let
    // through or the desktop is unlocked), and a window of theirs in front is not put away. Told
    // every second while a child is logged in; empty for none.
    void LetThrough(const std::vector<std::uint32_t>& processes);
    bool IsLetThrough(HWND hWnd) const;
    // Marks the desktop locked without locking it, e.g. after recording windows by hand (tests).
    void MarkLocked() { m_bLocked = true; }

    // Puts the curtain over the whole area the lock covers, topmost.
    void CoverScreen();
    // True when the curtain's rectangle spans the whole area the lock covers (every monitor).
    bool CurtainCoversScreen() const;
    // True when something stands in front of the curtain at one of its probe points.
    bool IsObscured() const;
    // The foreground window when it is another program's and covers the screen or a monitor.
    HWND FindFullScreenWindow() const;
    // Windows the lock never touches: the desktop and the taskbar.
    static bool IsDesktopWindow(HWND hWnd);
    // When another desktop has the input (a program may create one and switch to it), it is
    // switched back, and the event recorded once until the input is back: at every lock, and
    // every second while the curtain is up or a child is logged in (the controller's tick).
    void CheckInputDesktop();
    // The curtain's timers that are the lock's; true when the timer was one of them.
    bool OnTimer(UINT_PTR nId);

    // The screen the lock covers: the machine's, unless a layout was handed in (tests).
    SCREEN_LAYOUT ScreenLayout() const { return m_layout ? *m_layout : CurrentScreenLayout(); }
    void UseScreenLayout(const SCREEN_LAYOUT& layout) { m_layout = layout; }
    // The windows the lock took out of reach (winnodes.tmp).
    CHiddenWindowList& HiddenWindows() { return m_hiddenWindows; }
    // The keyboard hook, installed while locked.
    const CKeyboardHook& KeyboardHook() const { return m_keyboardHook; }

private:
    // Minimises the full-screen program (after an Alt+Tab, which a game holding the display gives
    // way to more willingly), or hides it, or pushes it off the screen, and records which.
    void PutAway(HWND hFull);
    // Hides every visible top-level window of other threads not recorded yet, and records it.
    void Sweep();
    static BOOL CALLBACK SweepProc(HWND hWnd, LPARAM lParam);
    // The look again after a full-screen program was put away: windows that came up meanwhile
    // are swept, and the curtain covers the screen as it is now (the program may have let go of
    // the display mode only then).
    void Settle();
    void GiveBackFullScreenWindows();
    // Gives back a window the lock put away, as it was put away (shown, restored or moved back).
    static void RestoreWindow(const HIDDEN_WINDOW& window);
    // The windows of the processes let through stand above the curtain; bAgain after the curtain
    // was put on top anew (a window raised before is raised again only then).
    void RaiseLetThrough(bool bAgain);
    // Windows raised before are made ordinary again: all, or those no longer let through.
    void LowerRaised(bool bAll);
    // Windows the lock put away whose process is let through now come back.
    void ReturnLetThrough();

    IDesktopLockHost& m_host;
    CHiddenWindowList m_hiddenWindows;
    CKeyboardHook m_keyboardHook;
    std::optional<SCREEN_LAYOUT> m_layout;
    bool m_bLocked = false;
    // Another desktop had the input at the last check (its event is recorded once).
    bool m_bDesktopAway = false;
    // The processes the lock lets through, and the windows of theirs it made topmost.
    std::vector<std::uint32_t> m_letThrough;
    std::set<HWND> m_raised;
};
