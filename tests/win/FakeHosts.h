// Fakes of the small interfaces a window gets from its owner (the controller's IControllerHost,
// the lock screen's IAccountWindowHost), so that a window is tested alone: they record what the
// window asked for. The curtain is a plain full-screen window that is never shown.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/rules/LoginThrottle.h"
#include "win/windows/AccountWindowHost.h"
#include "win/windows/ControllerHost.h"

class CFakeControllerHost final : public IControllerHost {
public:
    CFakeControllerHost()
        : m_hCurtain(::CreateWindowExA(WS_EX_APPWINDOW, "STATIC", "curtain", WS_POPUP | WS_SYSMENU, 0, 0,
                                       ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), nullptr,
                                       nullptr, nullptr, nullptr)) {}
    ~CFakeControllerHost() override { ::DestroyWindow(m_hCurtain); }
    CFakeControllerHost(const CFakeControllerHost&) = delete;
    CFakeControllerHost& operator=(const CFakeControllerHost&) = delete;

    HWND CurtainWnd() const override { return m_hCurtain; }
    bool IsLocked() const override { return m_bLocked; }
    void LockDesktop() override {
        m_bLocked = true;
        ++m_nLockCalls;
    }
    void UnlockDesktop() override { m_bLocked = false; }
    void LetThrough(const std::vector<std::uint32_t>& processes) override { m_letThrough = processes; }
    bool IsLetThrough(HWND hWnd) const override {
        DWORD nProcess = 0;
        ::GetWindowThreadProcessId(hWnd, &nProcess);
        return std::find(m_letThrough.begin(), m_letThrough.end(), nProcess) != m_letThrough.end();
    }
    void SetTrayTip(const std::string& strTip) override { m_strTrayTip = strTip.substr(0, 127); }
    void EnableTrayMenu(bool bEnable) override { m_bTrayMenu = bEnable; }
    bool IsObscured() override { return false; }
    bool CurtainCoversScreen() const override { return m_bCoversScreen; }
    void Quit() override { m_bQuit = true; }
    void SetMessengerState(int nState) override { m_nMessengerState = nState; }
    void SetLockBackground(int nMode) override { m_nLockBackground = nMode; }
    CLoginThrottle& LoginThrottle() override { return m_throttle; }

    HWND m_hCurtain;
    bool m_bLocked = true;  // the program starts locked
    int m_nLockCalls = 0;
    std::vector<std::uint32_t> m_letThrough;
    bool m_bCoversScreen = true;  // false: a monitor was added that the curtain leaves bare
    std::string m_strTrayTip;
    bool m_bTrayMenu = true;
    bool m_bQuit = false;
    int m_nMessengerState = 0;
    int m_nLockBackground = 0;
    CLoginThrottle m_throttle;
};

class CFakeAccountWindowHost final : public IAccountWindowHost {
public:
    bool ReleaseAccountWindow(const CWnd* pWnd) override {
        m_pReleased = pWnd;
        return true;
    }
    void ReturnFromEditor() override { ++m_nBackFromEditor; }
    void ReturnFromStatusWindow() override { ++m_nBackFromStatus; }

    const CWnd* m_pReleased = nullptr;
    int m_nBackFromEditor = 0;
    int m_nBackFromStatus = 0;
};
