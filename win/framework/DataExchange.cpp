// Data exchange between controls and members.
#include "win/framework/DataExchange.h"

#include <cstdlib>
#include <vector>

void DDX_Text(HWND hDlg, int nId, std::string& strValue, bool bSave) {
    HWND hCtl = ::GetDlgItem(hDlg, nId);
    if (!hCtl) return;
    if (!bSave) {
        ::SetWindowTextA(hCtl, strValue.c_str());
        return;
    }
    const int nLength = ::GetWindowTextLengthA(hCtl);
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1, '\0');
    ::GetWindowTextA(hCtl, buffer.data(), nLength + 1);
    strValue.assign(buffer.data());
}

void DDX_Text(HWND hDlg, int nId, int& nValue, bool bSave) {
    std::string strText = std::to_string(nValue);
    DDX_Text(hDlg, nId, strText, bSave);
    if (bSave) nValue = std::atoi(strText.c_str());
}

void DDX_Check(HWND hDlg, int nId, int& nValue, bool bSave) {
    if (bSave)
        nValue = static_cast<int>(::IsDlgButtonChecked(hDlg, nId));
    else
        ::CheckDlgButton(hDlg, nId, static_cast<UINT>(nValue));
}

void DDX_CBIndex(HWND hDlg, int nId, int& nIndex, bool bSave) {
    if (bSave)
        nIndex = static_cast<int>(::SendDlgItemMessageA(hDlg, nId, CB_GETCURSEL, 0, 0));
    else
        ::SendDlgItemMessageA(hDlg, nId, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
}

void DDV_MaxChars(HWND hDlg, int nId, int nCount) {
    ::SendDlgItemMessageA(hDlg, nId, EM_LIMITTEXT, static_cast<WPARAM>(nCount), 0);
}
