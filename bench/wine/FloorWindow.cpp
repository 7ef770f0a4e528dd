// The floor of start-up under Wine: the smallest window program this toolchain builds, started
// the same way as Quenby. It shows one window with a button and waits to be ended.
#include <windows.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    HWND hWnd = ::CreateWindowExA(0, "#32770", "Floor", WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 100, 200, 100,
                                  nullptr, nullptr, hInstance, nullptr);
    // The same control id the driver waits for in Quenby's lock screen.
    ::CreateWindowExA(0, "BUTTON", "Login", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, hWnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(1005)), hInstance, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    return 0;
}
