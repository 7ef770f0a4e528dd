// Answers the modal dialogs and message boxes a test's window opens: while the object lives, it
// looks at a steady pace for visible top-level windows of this thread that have a control with
// the given id and runs the action once on each of them.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PacedCall.h"

class CDialogAnswer {
public:
    CDialogAnswer(int nControlId, std::function<void(HWND)> action, UINT nInterval = 30)
        : m_nControlId(nControlId), m_action(std::move(action)),
          m_pacer(std::make_unique<CPacedCall>(nInterval, [this] { Look(); })) {}
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
    void Look() {
        // Windows that are gone are forgotten, so that a new one with the same handle counts.
        std::erase_if(m_done, [](HWND hWnd) { return !::IsWindow(hWnd); });
        ::EnumThreadWindows(::GetCurrentThreadId(), Visit, reinterpret_cast<LPARAM>(this));
    }

    int m_nControlId;
    std::function<void(HWND)> m_action;
    std::vector<HWND> m_done;
    std::unique_ptr<CPacedCall> m_pacer;  // last: it calls Look until it is gone
};
