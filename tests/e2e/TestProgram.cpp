// A small program of the tests' own that the limits per program act on, built twice, as game.exe
// and as homework.exe (each with its name in its version information, as real programs carry it).
// It shows one window titled with its name and
//   /ignore-close   does not close when asked (WM_CLOSE): its title then ends in "(asked to close)";
//   /at:X,Y         puts its window there;
//   /behind         opens its window minimised, without taking the front.
// A message WM_APP + 1 from the test brings it to the front, as a click on it would.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT WM_COME_FORWARD = WM_APP + 1;
bool g_bIgnoreClose = false;
char g_szTitle[128] = TEST_PROGRAM_TITLE;

LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    switch (nMsg) {
        case WM_CLOSE:
            if (g_bIgnoreClose) {
                std::strncat(g_szTitle, " (asked to close)", sizeof g_szTitle - std::strlen(g_szTitle) - 1);
                ::SetWindowTextA(hWnd, g_szTitle);
                return 0;
            }
            ::DestroyWindow(hWnd);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        case WM_COME_FORWARD:
            ::ShowWindow(hWnd, SW_RESTORE);
            ::SetForegroundWindow(hWnd);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hDC = ::BeginPaint(hWnd, &ps);
            RECT rc;
            ::GetClientRect(hWnd, &rc);
            ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
            ::SetBkMode(hDC, TRANSPARENT);
            ::DrawTextA(hDC, g_szTitle, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            ::EndPaint(hWnd, &ps);
            return 0;
        }
        default:
            return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR pszCommandLine, int) {
    g_bIgnoreClose = std::strstr(pszCommandLine, "/ignore-close") != nullptr;
    int x = 300, y = 200;
    if (const char* pszAt = std::strstr(pszCommandLine, "/at:")) std::sscanf(pszAt + 4, "%d,%d", &x, &y);
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "QuenbyTestProgram";
    ::RegisterClassA(&wc);
    const bool bBehind = std::strstr(pszCommandLine, "/behind") != nullptr;
    HWND hWnd = ::CreateWindowExA(0, wc.lpszClassName, g_szTitle, WS_OVERLAPPEDWINDOW | (bBehind ? 0 : WS_VISIBLE), x,
                                  y, 360, 220, nullptr, nullptr, hInstance, nullptr);
    if (!hWnd) return 1;
    if (bBehind) ::ShowWindow(hWnd, SW_SHOWMINNOACTIVE);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
