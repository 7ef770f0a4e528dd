// Steps the end-to-end scenarios share: typing and clicking as a user would, logging in through
// the lock screen, waiting for restarted processes, and a window of "another program".
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "core/seams/DataFolder.h"
#include "core/store/AdminAccount.h"
#include "core/store/ChildAccountList.h"
#include "core/store/PrjStore.h"
#include "core/store/UsageStore.h"
#include "ProgramUnderTest.h"
#include "resources/resource.h"

// Polls the condition every 100 ms until it holds or the time is up; its last answer. The caller
// asserts on it with a message saying what was waited for.
inline bool WaitFor(const std::function<bool()>& condition, DWORD nMilliseconds) {
    const DWORD tStart = ::GetTickCount();
    do {
        if (condition()) return true;
        ::Sleep(100);
    } while (::GetTickCount() - tStart < nMilliseconds);
    return condition();
}

// The used seconds of "kid" the program's files give (use.sta, with its copy), or -1 without a record.
inline int StoredUsed(const CProgramUnderTest& program) {
    CDataFolder::Use(program.Folder());
    CUsageStore usage;
    usage.Load();
    const USAGE_RECORD* pRecord = usage.Find("kid");
    const int nUsed = pRecord ? pRecord->nUsedSecs : -1;
    CDataFolder::Use(std::string());
    return nUsed;
}

// A program folder past its first run: the Administrator (empty password) and one child "kid"
// whose every weekday is the day given.
inline void PrepareFamily(const CProgramUnderTest& program, const CDayPrj& day) {
    CDataFolder::Use(program.Folder());
    CAdminAccount admin;
    admin.m_admin.bFirstRunPending = 0;
    admin.Save();
    CChildAccountList children;
    children.Add("kid");
    children.Save();
    CPrjStore prj;
    CUserPrj week("kid");
    week.m_days.fill(day);
    prj.Add(week);
    prj.Save();
    CDataFolder::Use(std::string());
}

inline CDayPrj FreeDay() {
    CDayPrj day;
    day.ClearLimits();
    day.m_bFree = 1;
    return day;
}

// Used seconds shown in the status window's total line ("... %.2d:%.2d:%.2d"); -1 if unreadable.
inline int UsedSecondsShown(HWND hStatus) {
    const std::string strLine = CProgramUnderTest::ItemText(hStatus, IDC_STATUS_TOTAL);
    int h = 0, m = 0, s = 0;
    const size_t nAt = strLine.find(':');
    if (nAt == std::string::npos || nAt < 2 || std::sscanf(strLine.c_str() + nAt - 2, "%d:%d:%d", &h, &m, &s) != 3)
        return -1;
    return h * 3600 + m * 60 + s;
}

// The controller's curtain is up: topmost, visible and not see-through.
inline bool IsCurtainUp(HWND hCurtain) {
    BYTE nAlpha = 255;
    DWORD nFlags = 0;
    if (::GetLayeredWindowAttributes(hCurtain, nullptr, &nAlpha, &nFlags) && (nFlags & LWA_ALPHA) && nAlpha == 0)
        return false;
    return (::GetWindowLongA(hCurtain, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 && ::IsWindowVisible(hCurtain);
}

namespace e2e_detail {
struct CURTAIN_QUERY {
    DWORD nPid;
    HWND hFound;
};
inline BOOL CALLBACK MatchCurtain(HWND hWnd, LPARAM lParam) {
    auto* pQuery = reinterpret_cast<CURTAIN_QUERY*>(lParam);
    DWORD nPid = 0;
    ::GetWindowThreadProcessId(hWnd, &nPid);
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    if (nPid != pQuery->nPid || !::IsWindowVisible(hWnd) || rc.left > 0 || rc.top > 0 ||
        rc.right < ::GetSystemMetrics(SM_CXSCREEN) || rc.bottom < ::GetSystemMetrics(SM_CYSCREEN))
        return TRUE;
    pQuery->hFound = hWnd;
    return FALSE;
}
}  // namespace e2e_detail

// The process's full-screen curtain (while it covers the screen), or nullptr.
inline HWND FindCurtain(DWORD nPid) {
    e2e_detail::CURTAIN_QUERY query{nPid, nullptr};
    ::EnumWindows(e2e_detail::MatchCurtain, reinterpret_cast<LPARAM>(&query));
    return query.hFound;
}

// Puts text into an edit control, as typing would.
inline void SetText(HWND hDlg, int nId, const std::string& strText) {
    ::SendMessageA(::GetDlgItem(hDlg, nId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strText.c_str()));
}

// True when the process still runs after a while: the companion's short-lived launcher (a
// Tessaly.exe too) ends at once after starting what it was asked to.
inline bool Stays(DWORD nPid) {
    HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, nPid);
    if (!hProcess) return false;
    const bool bStays = ::WaitForSingleObject(hProcess, 1500) == WAIT_TIMEOUT;
    ::CloseHandle(hProcess);
    return bStays;
}

// Waits for a process of the folder other than the one given that stays (not a launcher); its
// id, or 0. The time taken until it was first seen is put in pnWaited.
inline DWORD WaitForNewProcess(const CProgramUnderTest& program, const char* pszExe, DWORD nOld,
                               DWORD nMilliseconds, DWORD* pnWaited) {
    const DWORD nStart = ::GetTickCount();
    do {
        for (DWORD nPid : program.FindProcesses(pszExe)) {
            if (nPid == nOld) continue;
            const DWORD nSeen = ::GetTickCount() - nStart;
            if (std::string(pszExe) == "Tessaly.exe" && !Stays(nPid)) continue;
            *pnWaited = nSeen;
            return nPid;
        }
        ::Sleep(10);
    } while (::GetTickCount() - nStart < nMilliseconds);
    return 0;
}

// Logs an account in through the lock screen of the process; the window the login opens (the
// status window for a child, the editor for the Administrator), or nullptr.
inline HWND LogIn(const CProgramUnderTest& program, DWORD nPid, const std::string& strAccount,
                  const std::string& strPassword = std::string(), DWORD nMilliseconds = 10000) {
    HWND hLock = program.WaitForWindow(IDC_LOCK_LOGIN, nMilliseconds, nPid);
    if (!hLock) return nullptr;
    HWND hCombo = ::GetDlgItem(hLock, IDC_LOCK_ACCOUNT);
    const LRESULT nIndex = ::SendMessageA(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(strAccount.c_str()));
    if (nIndex < 0) return nullptr;
    ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    ::SendMessageA(hLock, WM_COMMAND, MAKEWPARAM(IDC_LOCK_ACCOUNT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
    SetText(hLock, IDC_LOCK_PASSWORD, strPassword);
    CProgramUnderTest::Click(hLock, IDC_LOCK_LOGIN);
    const int nOpened = strAccount == "Administrator" ? IDC_ARR_WEEK : IDC_STATUS_TOTAL;
    return program.WaitForWindow(nOpened, nMilliseconds, nPid);
}

// A window of another program: this driver, with a thread that serves it.
struct COtherWindow {
    COtherWindow() {
        m_hReady = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_hThread = ::CreateThread(nullptr, 0, Run, this, 0, &m_nThread);
        ::WaitForSingleObject(m_hReady, 5000);
    }
    ~COtherWindow() {
        ::PostThreadMessageA(m_nThread, WM_QUIT, 0, 0);
        ::WaitForSingleObject(m_hThread, 5000);
        ::CloseHandle(m_hThread);
        ::CloseHandle(m_hReady);
    }
    COtherWindow(const COtherWindow&) = delete;
    COtherWindow& operator=(const COtherWindow&) = delete;

    static DWORD WINAPI Run(LPVOID p) {
        auto* pThis = static_cast<COtherWindow*>(p);
        pThis->m_hWnd = ::CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE | SS_CENTER, 200, 200,
                                          300, 120, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        ::SetEvent(pThis->m_hReady);
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
        ::DestroyWindow(pThis->m_hWnd);
        return 0;
    }
    bool WaitVisible(bool bVisible, DWORD nMilliseconds) const {
        for (DWORD n = 0; n < nMilliseconds; n += 20) {
            if ((::IsWindowVisible(m_hWnd) != FALSE) == bVisible) return true;
            ::Sleep(20);
        }
        return (::IsWindowVisible(m_hWnd) != FALSE) == bVisible;
    }
    HWND m_hWnd = nullptr;
    HANDLE m_hReady = nullptr;
    HANDLE m_hThread = nullptr;
    DWORD m_nThread = 0;
};

namespace e2e_detail {
struct NOTICE_QUERY {
    DWORD nPid;
    HWND hFound;
};

// The notice: a click-through layered window of the process, shown at opacity 160.
inline BOOL CALLBACK MatchShownNotice(HWND hWnd, LPARAM lParam) {
    auto* pQuery = reinterpret_cast<NOTICE_QUERY*>(lParam);
    DWORD nPid = 0;
    ::GetWindowThreadProcessId(hWnd, &nPid);
    const LONG nExStyle = ::GetWindowLongA(hWnd, GWL_EXSTYLE);
    if (nPid != pQuery->nPid || !(nExStyle & WS_EX_TRANSPARENT) || !(nExStyle & WS_EX_LAYERED)) return TRUE;
    BYTE nAlpha = 0;
    DWORD nFlags = 0;
    if (::GetLayeredWindowAttributes(hWnd, nullptr, &nAlpha, &nFlags) && nAlpha == 160) {
        pQuery->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace e2e_detail

// The process's notice once it is shown (its line at opacity 160), or nullptr after the time.
inline HWND WaitForNotice(DWORD nPid, DWORD nMilliseconds) {
    const DWORD tStart = ::GetTickCount();
    do {
        e2e_detail::NOTICE_QUERY query{nPid, nullptr};
        ::EnumWindows(e2e_detail::MatchShownNotice, reinterpret_cast<LPARAM>(&query));
        if (query.hFound) return query.hFound;
        ::Sleep(100);
    } while (::GetTickCount() - tStart < nMilliseconds);
    return nullptr;
}

