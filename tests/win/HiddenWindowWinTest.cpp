// Hidden-window records made from real windows and display settings.
#include <gtest/gtest.h>

#include "win/app/HiddenWindowDisplay.h"

TEST(WinHiddenWindow, RecordCarriesTheHandleAndTheCurrentDisplaySettings) {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    const RECT rc = {-5, 6, 700, 800};
    const HIDDEN_WINDOW window = MakeHiddenWindow(hWnd, kFromFullScreen, rc, kRestoreMove);
    EXPECT_EQ(WindowOf(window), hWnd);
    // A handle with its 32nd bit set (as Windows hands out) comes back sign-extended, the way a
    // 64-bit program widens a handle a 32-bit one gave it.
    HIDDEN_WINDOW high = window;
    high.hWnd = 0x8001A2B4u;
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(WindowOf(high)), static_cast<std::uintptr_t>(INT64_C(-0x7FFE5D4C)));
    EXPECT_EQ(HandleValue(WindowOf(high)), 0x8001A2B4u);
    EXPECT_EQ(window.nSource, kFromFullScreen);
    EXPECT_EQ(window.nRestore, kRestoreMove);
    EXPECT_EQ(window.rcWindow.left, -5);
    EXPECT_EQ(window.rcWindow.bottom, 800);

    DEVMODEA dm{};
    GetDisplay(window, dm);
    EXPECT_EQ(dm.dmSize, 156);
    DEVMODEA current{};
    current.dmSize = sizeof current;
    if (::EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current)) {
        EXPECT_EQ(dm.dmPelsWidth, current.dmPelsWidth);
        EXPECT_EQ(dm.dmBitsPerPel, current.dmBitsPerPel);
    }

    // The portable reading of the screen size agrees with the structure.
    HIDDEN_WINDOW changed = window;
    dm.dmPelsWidth = 1024;
    dm.dmPelsHeight = 768;
    dm.dmSize = 0;
    SetDisplay(changed, dm);
    EXPECT_EQ(GetDisplayWidth(changed), 1024u);
    EXPECT_EQ(GetDisplayHeight(changed), 768u);
    DEVMODEA back{};
    GetDisplay(changed, back);
    EXPECT_EQ(back.dmSize, 156);  // always recorded as the 156-byte structure
    ::DestroyWindow(hWnd);
}
