// The auto-run value, foreground forcing and the gradient line.
#include "win/controls/WinUtilities.h"

#include <string>

#include <commctrl.h>

#include "core/seams/SystemActions.h"
#include "platform/win32/ModulePath.h"
#include "win/controls/MemoryDC.h"
#include "win/framework/WinApp.h"

std::string GetRunValueName() {
    std::string strName = GetModulePath();
    const std::size_t nSlash = strName.find_last_of("\\/");
    if (nSlash != std::string::npos) strName.erase(0, nSlash + 1);
    const std::size_t nDot = strName.rfind('.');
    if (nDot != std::string::npos) strName.erase(nDot);
    return strName;
}

// The value holds the program file's own path, so the program starts from wherever it is
// installed whatever the current directory was when auto-run was chosen.
// Each change is read back: a status of success from a registry that kept nothing is a failure.
long SetAutoRun() {
    ISystemActions& system = CSystem::Get();
    const std::string strPath = GetModulePath();
    if (const long nStatus = system.WriteRunValue(GetRunValueName(), strPath); nStatus != ERROR_SUCCESS) return nStatus;
    // A value that reads back missing or different was not kept.
    std::string strData;
    const long nRead = system.ReadRunValue(GetRunValueName(), strData);
    if (nRead != ERROR_SUCCESS && nRead != ERROR_FILE_NOT_FOUND) return nRead;
    return nRead == ERROR_SUCCESS && strData == strPath ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

long RemoveAutoRun() {
    ISystemActions& system = CSystem::Get();
    const long nStatus = system.DeleteRunValue(GetRunValueName());
    if (nStatus != ERROR_SUCCESS && nStatus != ERROR_FILE_NOT_FOUND) return nStatus;
    std::string strData;
    const long nRead = system.ReadRunValue(GetRunValueName(), strData);
    if (nRead == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    return nRead == ERROR_SUCCESS ? ERROR_ACCESS_DENIED : nRead;
}

void ReportAutoRunFailure(long nStatus, bool bWanted) {
    if (nStatus == ERROR_SUCCESS) return;
    const std::string strText =
        bWanted ? "Quenby could not register itself to start with Windows (error " + std::to_string(nStatus) +
                      ").\r\nAfter Windows restarts, start Quenby yourself."
                : "Quenby could not remove its start with Windows (error " + std::to_string(nStatus) +
                      ").\r\nIt will still start when Windows starts.";
    // Also into the system's Application event log where there is one (nothing happens otherwise).
    if (HANDLE hLog = ::RegisterEventSourceA(nullptr, "Quenby")) {
        const char* pszText = strText.c_str();
        ::ReportEventA(hLog, EVENTLOG_WARNING_TYPE, 0, 1, nullptr, 1, 0, &pszText, nullptr);
        ::DeregisterEventSource(hLog);
    }
    AppMessageBox(strText, MB_ICONEXCLAMATION | MB_OK);
}

int IsAutoRun() {
    std::string strData;
    if (CSystem::Get().ReadRunValue(GetRunValueName(), strData) != ERROR_SUCCESS) return 0;
    const std::string strPath = GetModulePath();
    return !strPath.empty() && strData == strPath ? 1 : 0;
}

void DrawGradientLine(HDC hDC, int x1, int y, int x2, COLORREF c1, COLORREF c2, int nWidth) {
    const int n = x2 - x1;
    if (n <= 0) return;
    const double dRed = (double(GetRValue(c2)) - GetRValue(c1)) / n;
    const double dGreen = (double(GetGValue(c2)) - GetGValue(c1)) / n;
    const double dBlue = (double(GetBValue(c2)) - GetBValue(c1)) / n;
    ::MoveToEx(hDC, x1, y, nullptr);
    HGDIOBJ hOldPen = nullptr;
    for (int i = x1; i <= x2 - 2; ++i) {
        const int k = i - x1;
        HPEN hPen = ::CreatePen(PS_SOLID, nWidth,
                                RGB(int(GetRValue(c1) + k * dRed), int(GetGValue(c1) + k * dGreen),
                                    int(GetBValue(c1) + k * dBlue)));
        HGDIOBJ hPrevious = ::SelectObject(hDC, hPen);
        if (!hOldPen) hOldPen = hPrevious;
        else ::DeleteObject(hPrevious);  // the pen of the step before
        ::LineTo(hDC, i + 1, y);
    }
    if (hOldPen) ::DeleteObject(::SelectObject(hDC, hOldPen));
}

namespace {

bool IsAltDown() {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    return (state[VK_MENU] & 0x80) != 0;
}

}  // namespace

void ForceForegroundByAlt(HWND hWnd) {
    if (!::IsWindow(hWnd)) return;
    ISystemActions& system = CSystem::Get();
    // The release follows the press this call made, and nothing else: reading the key state
    // again could already report the synthesised press and leave Alt stuck down, and an Alt the
    // user holds is not released under the user's finger.
    const bool bPress = !IsAltDown();
    if (bPress) system.SendKey(VK_MENU, false);
    ::SetForegroundWindow(hWnd);
    if (bPress) system.SendKey(VK_MENU, true);
}

void ForceForegroundByAttach(HWND hWnd) {
    if (!::IsWindow(hWnd)) return;
    ISystemActions& system = CSystem::Get();
    const DWORD nForeThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    const DWORD nOwnThread = ::GetCurrentThreadId();
    const bool bOther = nForeThread != nOwnThread;
    bool bAttached = false;
    unsigned long nSavedTimeout = 0;
    if (bOther) {
        bAttached = nForeThread != 0 && ::AttachThreadInput(nOwnThread, nForeThread, TRUE) != FALSE;
        nSavedTimeout = system.GetForegroundLockTimeout();
        system.SetForegroundLockTimeout(0);
        ::AllowSetForegroundWindow(ASFW_ANY);
    }
    ::SetForegroundWindow(hWnd);
    if (bOther) {
        system.SetForegroundLockTimeout(nSavedTimeout);
        if (bAttached) ::AttachThreadInput(nOwnThread, nForeThread, FALSE);
    }
}

void StretchBitmap(HDC hDC, HBITMAP hBitmap, const RECT& rcDest, const RECT& rcSource) {
    if (!hBitmap) return;
    const CMemoryDC picture(hDC, hBitmap);
    const int nOldMode = ::SetStretchBltMode(hDC, COLORONCOLOR);
    ::StretchBlt(hDC, rcDest.left, rcDest.top, rcDest.right - rcDest.left, rcDest.bottom - rcDest.top, picture.Get(),
                 rcSource.left, rcSource.top, rcSource.right - rcSource.left, rcSource.bottom - rcSource.top, SRCCOPY);
    ::SetStretchBltMode(hDC, nOldMode);
}

void StretchBitmap(HDC hDC, HBITMAP hBitmap, const RECT& rcDest) {
    BITMAP info{};
    if (!hBitmap || !::GetObjectA(hBitmap, sizeof info, &info)) return;
    StretchBitmap(hDC, hBitmap, rcDest, RECT{0, 0, info.bmWidth, info.bmHeight});
}

void DrawTransparentBitmap(HDC hDC, HBITMAP hBitmap, int x, int y, COLORREF crTransparent) {
    BITMAP info{};
    if (!hBitmap || !::GetObjectA(hBitmap, sizeof info, &info)) return;
    const CMemoryDC picture(hDC, hBitmap);
    ::TransparentBlt(hDC, x, y, info.bmWidth, info.bmHeight, picture.Get(), 0, 0, info.bmWidth, info.bmHeight,
                     crTransparent);
}

void CentreWindow(HWND hWnd, const RECT& rcArea) {
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    const int x = rcArea.left + ((rcArea.right - rcArea.left) - (rc.right - rc.left)) / 2;
    const int y = rcArea.top + ((rcArea.bottom - rcArea.top) - (rc.bottom - rc.top)) / 2;
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT WorkArea() {
    RECT rc{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

RECT DesktopArea() {
    RECT rc{};
    ::GetWindowRect(::GetDesktopWindow(), &rc);
    return rc;
}

void InsertListColumn(HWND hList, int nIndex, const std::string& strText, int nWidth) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(strText.c_str());
    column.cx = nWidth;
    column.iSubItem = nIndex;
    ::SendMessageA(hList, LVM_INSERTCOLUMNA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&column));
}

void InsertListRow(HWND hList, int nRow, const std::vector<std::string>& cells) {
    for (std::size_t nColumn = 0; nColumn < cells.size(); ++nColumn) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = nRow;
        item.iSubItem = static_cast<int>(nColumn);
        item.pszText = const_cast<char*>(cells[nColumn].c_str());
        ::SendMessageA(hList, nColumn == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, static_cast<WPARAM>(nRow),
                       reinterpret_cast<LPARAM>(&item));
    }
}
