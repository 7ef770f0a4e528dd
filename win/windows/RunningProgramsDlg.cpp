// The list of running programs to pick from.
#include "win/windows/RunningProgramsDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>

#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/controls/WinUtilities.h"

CRunningProgramsDlg::CRunningProgramsDlg(CWnd* pParent) : CFramedDialog(IDD_RUNNING_PROGRAMS, pParent) {}

BOOL CRunningProgramsDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText("Programs running now");
    SetDlgItemText(IDC_RUNNING_TEXT, "Pick the program the rule is for (its windows are shown by their titles):");
    if (m_btnOk.SubclassDlgItem(IDOK, this)) ApplyActionButtonLook(m_btnOk, 0);
    if (m_btnCancel.SubclassDlgItem(IDCANCEL, this)) ApplyActionButtonLook(m_btnCancel, 0);
    m_windows = CProcesses::Get().Windows();
    // By program, whatever the case of its letters.
    auto folded = [](std::string strText) {
        for (char& c : strText) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return strText;
    };
    std::stable_sort(m_windows.begin(), m_windows.end(), [&folded](const PROGRAM_WINDOW& a, const PROGRAM_WINDOW& b) {
        return folded(a.strImage) < folded(b.strImage);
    });
    HWND hList = GetDlgItem(IDC_RUNNING_LIST);
    ListView_SetExtendedListViewStyle(hList, LVS_EX_FULLROWSELECT);
    RECT rc{};
    ::GetClientRect(hList, &rc);
    const int cxProgram = rc.right / 3;
    InsertListColumn(hList, 0, "Program", cxProgram);
    InsertListColumn(hList, 1, "Window", rc.right - cxProgram - ::GetSystemMetrics(SM_CXVSCROLL));
    for (std::size_t n = 0; n < m_windows.size(); ++n)
        InsertListRow(hList, static_cast<int>(n), {m_windows[n].strImage, m_windows[n].strTitle});
    if (!m_windows.empty()) ListView_SetItemState(hList, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnableItem(IDOK, !m_windows.empty());
    return TRUE;
}

bool CRunningProgramsDlg::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    if (nMsg == WM_NOTIFY) {
        const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        // A double click on a row picks it.
        if (pHeader->idFrom == IDC_RUNNING_LIST && pHeader->code == NM_DBLCLK &&
            reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem >= 0) {
            OnOK();
            return true;
        }
    }
    return CFramedDialog::OnMessage(nMsg, wParam, lParam, lResult);
}

void CRunningProgramsDlg::OnOK() {
    const int nRow = ListView_GetNextItem(GetDlgItem(IDC_RUNNING_LIST), -1, LVNI_SELECTED);
    if (nRow < 0 || static_cast<std::size_t>(nRow) >= m_windows.size()) return;
    m_chosen = m_windows[static_cast<std::size_t>(nRow)];
    EndDialog(IDOK);
}
