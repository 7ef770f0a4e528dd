// Windows of "another program" for the in-process Windows tests: made and served by a thread of
// their own, since the desktop lock leaves the test thread's windows alone.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

// Behaviours of a window of the other program.
constexpr int kRefuseMinimise = 1;  // ignores SC_MINIMIZE
constexpr int kRefuseHide = 2;      // stays visible when told to hide

struct WINDOW_WISH {
    RECT rc;
    int nFlags = 0;
    const char* pszClass = "QuenbyTestOther";
    const char* pszTitle = "other program";
    bool bVisible = true;
    // Runs (on the other program's thread) when the window is told to minimise.
    std::function<void()> onMinimise;
};

inline LRESULT CALLBACK OtherProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_NCCREATE)
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    const auto* pWish = reinterpret_cast<const WINDOW_WISH*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    const int nFlags = pWish ? pWish->nFlags : 0;
    if (nMsg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE && pWish && pWish->onMinimise) pWish->onMinimise();
    if (nMsg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE && (nFlags & kRefuseMinimise)) return 0;
    if (nMsg == WM_WINDOWPOSCHANGING && (nFlags & kRefuseHide))
        reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_HIDEWINDOW;
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

inline WINDOW_WISH At(const RECT& rc, int nFlags = 0) {
    WINDOW_WISH wish;
    wish.rc = rc;
    wish.nFlags = nFlags;
    return wish;
}

// Windows made and served by a thread of their own; the first one is brought to the front.
class COtherProgram {
public:
    explicit COtherProgram(std::vector<WINDOW_WISH> wishes, bool bForeground = false)
        : m_wishes(std::move(wishes)), m_bForeground(bForeground) {
        m_hReady = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_hThread = ::CreateThread(nullptr, 0, ThreadProc, this, 0, &m_nThreadId);
        ::WaitForSingleObject(m_hReady, 5000);
    }
    ~COtherProgram() {
        ::PostThreadMessageA(m_nThreadId, WM_QUIT, 0, 0);
        ::WaitForSingleObject(m_hThread, 5000);
        ::CloseHandle(m_hThread);
        ::CloseHandle(m_hReady);
    }
    COtherProgram(const COtherProgram&) = delete;
    COtherProgram& operator=(const COtherProgram&) = delete;

    std::vector<HWND> m_windows;

private:
    static DWORD WINAPI ThreadProc(LPVOID p) {
        auto* pThis = static_cast<COtherProgram*>(p);
        const HINSTANCE hInstance = ::GetModuleHandleA(nullptr);
        for (const WINDOW_WISH& wish : pThis->m_wishes) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = OtherProc;
            wc.hInstance = hInstance;
            wc.lpszClassName = wish.pszClass;
            ::RegisterClassA(&wc);  // fails harmlessly when registered before
            pThis->m_windows.push_back(::CreateWindowExA(
                0, wish.pszClass, wish.pszTitle, WS_POPUP | (wish.bVisible ? WS_VISIBLE : 0), wish.rc.left,
                wish.rc.top, wish.rc.right - wish.rc.left, wish.rc.bottom - wish.rc.top, nullptr, nullptr, hInstance,
                const_cast<WINDOW_WISH*>(&wish)));
        }
        if (pThis->m_bForeground && !pThis->m_windows.empty()) ::SetForegroundWindow(pThis->m_windows.front());
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists before it says ready
        ::SetEvent(pThis->m_hReady);
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
        for (HWND hWnd : pThis->m_windows) ::DestroyWindow(hWnd);
        return 0;
    }

    std::vector<WINDOW_WISH> m_wishes;
    bool m_bForeground;
    HANDLE m_hReady = nullptr;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadId = 0;
};
