// Runs a function on this thread at a steady pace while the object lives, through messages posted
// to a window of its own. Unlike a timer it is not starved when the queue always has a paint
// pending (Wine can keep reporting WM_PAINT for a window it thinks is covered), because posted
// messages come before paints and timers.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

class CPacedCall {
public:
    CPacedCall(DWORD nInterval, std::function<void()> call) : m_call(std::move(call)) {
        m_hWnd = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_pfnOld = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CPacedCall::WndProc)));
        m_pacer = std::thread([this, nInterval] {
            while (!m_bStop) {
                ::Sleep(nInterval);
                // One call at a time in the queue, however slow this thread's owner is.
                if (!m_bPending.exchange(true)) ::PostMessageA(m_hWnd, kCallMessage, 0, 0);
            }
        });
    }
    ~CPacedCall() {
        m_bStop = true;
        m_pacer.join();
        ::DestroyWindow(m_hWnd);
    }
    CPacedCall(const CPacedCall&) = delete;
    CPacedCall& operator=(const CPacedCall&) = delete;

private:
    static constexpr UINT kCallMessage = WM_APP + 77;

    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
        auto* pThis = reinterpret_cast<CPacedCall*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (nMsg != kCallMessage || !pThis) return ::CallWindowProcA(pThis->m_pfnOld, hWnd, nMsg, wParam, lParam);
        pThis->m_bPending = false;
        if (!pThis->m_bBusy) {
            pThis->m_bBusy = true;  // a call may run a message loop of its own
            pThis->m_call();
            pThis->m_bBusy = false;
        }
        return 0;
    }

    std::function<void()> m_call;
    HWND m_hWnd = nullptr;
    WNDPROC m_pfnOld = nullptr;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bPending{false};
    bool m_bBusy = false;
    std::thread m_pacer;
};
