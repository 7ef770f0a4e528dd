// Geometry of the area the lock covers.
#include "win/app/ScreenLayout.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT pRect, LPARAM lParam) {
    reinterpret_cast<std::vector<RECT>*>(lParam)->push_back(*pRect);
    return TRUE;
}

// Within one pixel of every edge of the area.
bool Covers(const RECT& rcWindow, const RECT& rc) {
    return rcWindow.left <= rc.left + 1 && rcWindow.top <= rc.top + 1 && rcWindow.right >= rc.right - 1 &&
           rcWindow.bottom >= rc.bottom - 1;
}

}  // namespace

SCREEN_LAYOUT CurrentScreenLayout() {
    SCREEN_LAYOUT layout{};
    layout.cxPrimary = ::GetSystemMetrics(SM_CXSCREEN);
    layout.cyPrimary = ::GetSystemMetrics(SM_CYSCREEN);
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    layout.rcVirtual = {x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    layout.nMonitors = ::GetSystemMetrics(SM_CMONITORS);
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&layout.rcMonitors));
    return layout;
}

SCREEN_LAYOUT SingleScreenLayout(int cx, int cy) { return {cx, cy, {0, 0, cx, cy}, 1, {{0, 0, cx, cy}}}; }

RECT CoveredArea(const SCREEN_LAYOUT& layout) {
    // A system that reports no virtual screen is treated as the primary screen alone.
    const bool bVirtual = layout.nMonitors > 1 && layout.rcVirtual.right > layout.rcVirtual.left &&
                          layout.rcVirtual.bottom > layout.rcVirtual.top;
    return bVirtual ? layout.rcVirtual : RECT{0, 0, layout.cxPrimary, layout.cyPrimary};
}

RECT CurtainRect(const SCREEN_LAYOUT& layout) {
    const RECT rc = CoveredArea(layout);
    return {rc.left - 1, rc.top - 1, rc.right + 2, rc.bottom + 2};
}

bool CoversScreen(const RECT& rcWindow, const SCREEN_LAYOUT& layout) {
    if (Covers(rcWindow, CoveredArea(layout))) return true;
    for (const RECT& rcMonitor : layout.rcMonitors)
        if (Covers(rcWindow, rcMonitor)) return true;
    return false;
}

std::array<POINT, 5> ProbePoints(const SCREEN_LAYOUT& layout) {
    const RECT rc = CoveredArea(layout);
    const LONG cx = rc.right - rc.left;
    const LONG cy = rc.bottom - rc.top;
    return {{{rc.left + 1, rc.top + 1},
             {rc.left + 1, rc.top + cy - 1},
             {rc.left + cx - 1, rc.top + 1},
             {rc.left + cx - 1, rc.top + cy - 1},
             {rc.left + cx / 2, rc.top + cy / 2}}};
}
