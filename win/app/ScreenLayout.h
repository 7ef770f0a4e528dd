// The screen the lock has to cover: the primary screen with one monitor, the whole virtual screen
// (every monitor) with more. Handed to the lock as a value so that tests can pass any layout.
#pragma once

#include <windows.h>

#include <array>
#include <vector>

struct SCREEN_LAYOUT {
    int cxPrimary;    // primary screen size (SM_CXSCREEN, SM_CYSCREEN)
    int cyPrimary;
    RECT rcVirtual;   // bounding rectangle of all monitors (SM_XVIRTUALSCREEN and the rest)
    int nMonitors;    // SM_CMONITORS
    std::vector<RECT> rcMonitors;  // each monitor's rectangle (EnumDisplayMonitors); may be empty
};

// The layout of the machine now.
SCREEN_LAYOUT CurrentScreenLayout();
// A single monitor of cx by cy.
SCREEN_LAYOUT SingleScreenLayout(int cx, int cy);

// The area to cover: (0, 0, cx, cy) with one monitor, the virtual screen with more.
RECT CoveredArea(const SCREEN_LAYOUT& layout);
// Where the curtain goes: one pixel beyond the left and top edges of the area, two beyond the
// right and bottom ones, so that no frame line of the area stays uncovered.
RECT CurtainRect(const SCREEN_LAYOUT& layout);
// Whether a window rectangle counts as full screen: within one pixel of every edge of the area,
// or of every edge of any one monitor (a game may fill one monitor of two).
bool CoversScreen(const RECT& rcWindow, const SCREEN_LAYOUT& layout);
// The points at which the curtain must be the window found for the screen to count as covered:
// the four corners one pixel inside the area and its centre.
std::array<POINT, 5> ProbePoints(const SCREEN_LAYOUT& layout);
