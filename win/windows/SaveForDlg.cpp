// The days and children of "Save for...".
#include "win/windows/SaveForDlg.h"

#include <commctrl.h>

#include "core/texts/MsgText.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/controls/WinUtilities.h"

namespace {
std::string DayName(int nDay) { return GetMsgText(126 + 2 * static_cast<unsigned>(nDay)); }
}  // namespace

CSaveForDlg::CSaveForDlg(CWnd* pParent, int nDay, std::string strUser, std::vector<std::string> children)
    : CFramedDialog(IDD_SAVE_FOR, pParent), m_nDay(nDay), m_strUser(std::move(strUser)), m_children(std::move(children)) {}

BOOL CSaveForDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText(GetMsgText(418));
    SetDlgItemText(IDC_SAVE_FOR_TEXT, "Save " + DayName(m_nDay) + "'s arrangement of " + m_strUser +
                                          " also to the days and children ticked below:");
    SetDlgItemText(IDC_SAVE_FOR_DAYS_LABEL, "Days:");
    SetDlgItemText(IDC_SAVE_FOR_CHILDREN_LABEL, "Children:");
    for (int nDay = 0; nDay < 7; ++nDay) {
        SetDlgItemText(IDC_SAVE_FOR_DAY0 + nDay, DayName(nDay));
        ::CheckDlgButton(m_hWnd, IDC_SAVE_FOR_DAY0 + nDay, nDay == m_nDay ? BST_CHECKED : BST_UNCHECKED);
    }
    FillChildren();
    if (m_btnOk.SubclassDlgItem(IDOK, this)) ApplyActionButtonLook(m_btnOk, 0);
    if (m_btnCancel.SubclassDlgItem(IDCANCEL, this)) ApplyActionButtonLook(m_btnCancel, 0);
    return TRUE;
}

void CSaveForDlg::FillChildren() {
    HWND hList = GetDlgItem(IDC_SAVE_FOR_CHILDREN);
    ListView_SetExtendedListViewStyle(hList, LVS_EX_CHECKBOXES);
    RECT rc{};
    ::GetClientRect(hList, &rc);
    InsertListColumn(hList, 0, "", rc.right - ::GetSystemMetrics(SM_CXVSCROLL));
    for (std::size_t n = 0; n < m_children.size(); ++n) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(n);
        item.pszText = m_children[n].data();
        ListView_InsertItem(hList, &item);
        ListView_SetCheckState(hList, static_cast<int>(n), m_children[n] == m_strUser);
    }
}

void CSaveForDlg::OnOK() {
    for (int nDay = 0; nDay < 7; ++nDay)
        m_bDays[static_cast<std::size_t>(nDay)] = ::IsDlgButtonChecked(m_hWnd, IDC_SAVE_FOR_DAY0 + nDay) == BST_CHECKED;
    m_chosenUsers.clear();
    HWND hList = GetDlgItem(IDC_SAVE_FOR_CHILDREN);
    for (std::size_t n = 0; n < m_children.size(); ++n)
        if (ListView_GetCheckState(hList, static_cast<int>(n))) m_chosenUsers.push_back(m_children[n]);
    EndDialog(IDOK);
}
