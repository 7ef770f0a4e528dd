// The warning line of the lock screen when the data folder cannot be written.
#include "win/windows/DataFolderWarning.h"

#include "resources/resource.h"

namespace {
// The warning's size in dialog units: the lock screen's width and six lines of its font.
constexpr int kWarningHeightDlu = 56;
constexpr int kMarginDlu = 5;
}  // namespace

std::string DataFolderWarningText(const std::string& strFolder) {
    return "Quenby cannot save its data in " + strFolder +
           " Accounts, rules and the time used will not be kept. Please install Quenby again with its setup "
           "program, or put it in a folder this Windows account may change.";
}

void AddDataFolderWarning(HWND hDlg, const std::string& strFolder) {
    if (::GetDlgItem(hDlg, IDC_LOCK_DATA_WARNING)) return;
    RECT rcUnits{kMarginDlu, 0, 0, kWarningHeightDlu};
    ::MapDialogRect(hDlg, &rcUnits);
    RECT rcClient{};
    ::GetClientRect(hDlg, &rcClient);
    RECT rcWindow{};
    ::GetWindowRect(hDlg, &rcWindow);
    // Taller by the warning's height; the warning fills the new strip.
    ::SetWindowPos(hDlg, nullptr, 0, 0, rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top + rcUnits.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND hWarning = ::CreateWindowExA(0, "STATIC", DataFolderWarningText(strFolder).c_str(),
                                      WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, rcUnits.left, rcClient.bottom,
                                      rcClient.right - 2 * rcUnits.left, rcUnits.bottom - rcUnits.left, hDlg,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LOCK_DATA_WARNING)),
                                      reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(hDlg, GWLP_HINSTANCE)), nullptr);
    ::SendMessageA(hWarning, WM_SETFONT, ::SendMessageA(hDlg, WM_GETFONT, 0, 0), FALSE);
}
