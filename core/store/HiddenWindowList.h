// Other programs' windows that the lock hid, minimised or moved, with what puts each one back;
// kept in winnodes.tmp so that the desktop can be restored after the program was ended while
// locked (184 bytes per window).
#pragma once

#include <cstdint>
#include <list>

struct HIDDEN_RECT {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// One window; the same image in winnodes.tmp (little-endian).
struct HIDDEN_WINDOW {
    std::uint32_t hWnd;          // the window's 32-bit handle
    std::int32_t nSource;        // kFromSweep or kFromFullScreen
    std::uint8_t dmDisplay[156]; // the display settings (a DEVMODEA image) current when recorded
    HIDDEN_RECT rcWindow;        // the window's rectangle on the screen when recorded
    std::int32_t nRestore;       // kRestoreShow, kRestoreFromMinimised or kRestoreMove
};
static_assert(sizeof(HIDDEN_WINDOW) == 184, "winnodes.tmp records are 184 bytes");

// Who recorded a window.
constexpr std::int32_t kFromSweep = 0;       // the sweep that hides the desktop's windows
constexpr std::int32_t kFromFullScreen = 1;  // the handling of full-screen windows
// How a window is put back.
constexpr std::int32_t kRestoreShow = 0;
constexpr std::int32_t kRestoreFromMinimised = 1;
constexpr std::int32_t kRestoreMove = 2;
// Never written by this program; a record that names it (another writer's) is restored from
// minimised and then shown.
constexpr std::int32_t kRestoreAndShow = 3;

// Screen width and height of the recorded display settings (dmPelsWidth and dmPelsHeight).
std::uint32_t GetDisplayWidth(const HIDDEN_WINDOW& window);
std::uint32_t GetDisplayHeight(const HIDDEN_WINDOW& window);

class CHiddenWindowList {
public:
    static constexpr std::size_t kRecordSize = sizeof(HIDDEN_WINDOW);
    static constexpr const char* kFileName = "winnodes.tmp";

    // Reads winnodes.tmp; FALSE (list unchanged) when it is missing or empty.
    bool Load();
    // Replaces winnodes.tmp with the list (an empty list gives a file of 0 bytes); FALSE (old file
    // whole, list kept) on failure.
    bool Save() const;

    void Add(const HIDDEN_WINDOW& window);
    void Add(std::uint32_t hWnd, std::int32_t nSource, const std::uint8_t (&dmDisplay)[156],
             const HIDDEN_RECT& rcWindow, std::int32_t nRestore);
    // Removes the first record of this window; no effect if there is none.
    void Remove(std::uint32_t hWnd);
    bool Exists(std::uint32_t hWnd) const;
    bool ExistsFromFullScreen(std::uint32_t hWnd) const;
    int GetCount() const;
    const HIDDEN_WINDOW* GetAt(int nIndex) const;
    int CountFromFullScreen() const;
    // The n-th (0-based) record made by the full-screen handling, or null.
    const HIDDEN_WINDOW* GetFromFullScreen(int n) const;
    void RemoveAll();

private:
    std::list<HIDDEN_WINDOW> m_windows;
};
