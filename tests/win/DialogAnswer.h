// Answers the modal dialogs and message boxes a test's window opens: while the object lives, a
// thread timer looks for visible top-level windows of this thread that have a control with the
// given id and runs the action once on each of them.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

class CDialogAnswer {
public:
    CDialogAnswer(int nControlId, std::function<void(HWND)> action, UINT nInterval = 30)
        : m_nControlId(nControlId), m_action(std::move(action)) {
        s_active.push_back(this);
        m_nTimer = ::SetTimer(nullptr, 0, nInterval, OnTimer);
    }
    ~CDialogAnswer() {
        ::KillTimer(nullptr, m_nTimer);
        s_active.erase(std::find(s_active.begin(), s_active.end(), this));
    }
    CDialogAnswer(const CDialogAnswer&) = delete;
    CDialogAnswer& operator=(const CDialogAnswer&) = delete;

    int m_nAnswered = 0;

    // Clicks a button of a dialog the way the user's click reaches it.
    static void Click(HWND hDlg, int nId) {
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nId)));
    }
    static std::string Text(HWND hWnd) {
        char szText[1024] = {};
        ::GetWindowTextA(hWnd, szText, sizeof szText);
        return szText;
    }

private:
    static BOOL CALLBACK Visit(HWND hWnd, LPARAM lParam) {
        auto* pThis = reinterpret_cast<CDialogAnswer*>(lParam);
        if (!::IsWindowVisible(hWnd) || !::GetDlgItem(hWnd, pThis->m_nControlId)) return TRUE;
        if (std::find(pThis->m_done.begin(), pThis->m_done.end(), hWnd) != pThis->m_done.end()) return TRUE;
        pThis->m_done.push_back(hWnd);
        ++pThis->m_nAnswered;
        pThis->m_action(hWnd);
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR nTimer, DWORD) {
        for (CDialogAnswer* pThis : std::vector<CDialogAnswer*>(s_active)) {
            if (pThis->m_nTimer != nTimer || pThis->m_bBusy) continue;
            // Windows that are gone are forgotten, so that a new one with the same handle counts.
            std::erase_if(pThis->m_done, [](HWND hWnd) { return !::IsWindow(hWnd); });
            pThis->m_bBusy = true;  // an action may run a loop of its own
            ::EnumThreadWindows(::GetCurrentThreadId(), Visit, reinterpret_cast<LPARAM>(pThis));
            pThis->m_bBusy = false;
        }
    }

    int m_nControlId;
    std::function<void(HWND)> m_action;
    UINT_PTR m_nTimer = 0;
    bool m_bBusy = false;
    std::vector<HWND> m_done;
    inline static std::vector<CDialogAnswer*> s_active;
};
