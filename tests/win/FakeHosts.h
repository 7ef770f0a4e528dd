// Fakes of the small interfaces a window gets from its owner (the controller's IControllerHost,
// the lock screen's IAccountWindowHost), so that a window is tested alone: they record what the
// window asked for, of the curtain too (there is none).
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
    void RestoreCurtain() override { m_bInTray = false; }
    void MinimiseCurtain() override { ++m_nMinimised; }
    void DropToTray() override { m_bInTray = true; }
    void ShowAboveCurtain(HWND hWnd) override { m_hAboveCurtain = hWnd; }
    void OfferCurtainClose(bool bOffer) override { m_bCloseOffered = bOffer; }
    bool IsObscured() override { return false; }
    bool CurtainCoversScreen() const override { return m_bCoversScreen; }
    void SetTrayTip(const std::string& strTip) override { m_strTrayTip = strTip.substr(0, 127); }
    void HoldTrayMenu() override { ++m_nTrayMenuHolds; }
    void ReleaseTrayMenu() override { --m_nTrayMenuHolds; }
    void Quit() override { m_bQuit = true; }
    void SetMessengerState(int nState) override { m_nMessengerState = nState; }
    void SetLockBackground(int nMode) override { m_nLockBackground = nMode; }
    CLoginThrottle& LoginThrottle() override { return m_throttle; }

    bool TrayMenuEnabled() const { return m_nTrayMenuHolds == 0; }

    bool m_bLocked = true;  // the program starts locked
    bool m_bInTray = false;
    int m_nMinimised = 0;
    HWND m_hAboveCurtain = nullptr;
    bool m_bCloseOffered = true;
    int m_nLockCalls = 0;
    std::vector<std::uint32_t> m_letThrough;
    bool m_bCoversScreen = true;  // false: a monitor was added that the curtain leaves bare
    std::string m_strTrayTip;
    int m_nTrayMenuHolds = 0;
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
