// Conversions between hidden-window records and the Win32 types they stand for.
#include "win/app/HiddenWindowDisplay.h"

#include <cstddef>
#include <cstring>

// The record keeps the display settings as the 156-byte DEVMODEA of the 32-bit headers, and reads
// the screen size at fixed places in it.
static_assert(sizeof(DEVMODEA) == sizeof(HIDDEN_WINDOW::dmDisplay), "DEVMODEA must be 156 bytes");
static_assert(offsetof(DEVMODEA, dmPelsWidth) == 108 && offsetof(DEVMODEA, dmPelsHeight) == 112,
              "the screen size must lie where the record reads it");

// A 64-bit window handle keeps only 32 significant bits: Windows guarantees it, so that 32-bit and
// 64-bit programs can hand windows to each other. The record's 32-bit field therefore holds the
// whole handle, and the handle comes back by sign extension, as Windows itself widens a 32-bit one.
std::uint32_t HandleValue(HWND hWnd) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hWnd)); }

HWND WindowOf(const HIDDEN_WINDOW& window) {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(window.hWnd)));
}

void GetDisplay(const HIDDEN_WINDOW& window, DEVMODEA& dm) { std::memcpy(&dm, window.dmDisplay, sizeof dm); }

void SetDisplay(HIDDEN_WINDOW& window, const DEVMODEA& dm) {
    DEVMODEA copy = dm;
    copy.dmSize = sizeof(DEVMODEA);
    std::memcpy(window.dmDisplay, &copy, sizeof window.dmDisplay);
}

HIDDEN_WINDOW MakeHiddenWindow(HWND hWnd, std::int32_t nSource, const RECT& rcWindow, std::int32_t nRestore) {
    DEVMODEA dm{};
    dm.dmSize = sizeof dm;
    ::EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &dm);
    std::uint8_t dmDisplay[sizeof dm];
    std::memcpy(dmDisplay, &dm, sizeof dm);
    return MakeHiddenWindow(hWnd, nSource, rcWindow, nRestore, dmDisplay);
}

HIDDEN_WINDOW MakeHiddenWindow(HWND hWnd, std::int32_t nSource, const RECT& rcWindow, std::int32_t nRestore,
                               const std::uint8_t (&dmDisplay)[156]) {
    HIDDEN_WINDOW window{};
    window.hWnd = HandleValue(hWnd);
    window.nSource = nSource;
    DEVMODEA dm;
    std::memcpy(&dm, dmDisplay, sizeof dm);
    SetDisplay(window, dm);  // the size always says 156, whatever the system wrote there
    window.rcWindow = {rcWindow.left, rcWindow.top, rcWindow.right, rcWindow.bottom};
    window.nRestore = nRestore;
    return window;
}
