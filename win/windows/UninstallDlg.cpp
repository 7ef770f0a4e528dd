// The uninstall password prompt.
#include "win/windows/UninstallDlg.h"

#include "core/store/AdminAccount.h"
#include "core/texts/MsgText.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/framework/DataExchange.h"

namespace {
constexpr const char kExplanation[] =
    "Quenby will be removed from this computer. Only a parent may do this: please enter the "
    "Administrator's password.";
}  // namespace

CUninstallDlg::CUninstallDlg(const CAdminAccount& admin) : CFramedDialog(IDD_UNINSTALL), m_admin(admin) {}

BOOL CUninstallDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText("Uninstall Quenby");
    SetDlgItemText(IDC_UNINSTALL_TEXT, kExplanation);
    SetDlgItemText(IDC_UNINSTALL_PASSWORD_LABEL, GetMsgText(207));
    if (m_btnOk.SubclassDlgItem(IDOK, this)) ApplyActionButtonLook(m_btnOk, 0);
    if (m_btnCancel.SubclassDlgItem(IDCANCEL, this)) ApplyActionButtonLook(m_btnCancel, 0);
    DDV_MaxChars(m_hWnd, IDC_UNINSTALL_PASSWORD, 31);
    ::SetFocus(GetDlgItem(IDC_UNINSTALL_PASSWORD));
    // Started by the uninstaller, the prompt must not hide behind its window.
    ::SetForegroundWindow(m_hWnd);
    return FALSE;
}

void CUninstallDlg::OnOK() {
    DDX_Text(m_hWnd, IDC_UNINSTALL_PASSWORD, m_strPassword, true);
    if (m_admin.AcceptsPassword(m_strPassword)) {
        EndDialog(IDOK);
        return;
    }
    ::MessageBoxA(m_hWnd, GetMsgText(102).c_str(), GetMsgText(103).c_str(), MB_OK);
    m_strPassword.clear();
    DDX_Text(m_hWnd, IDC_UNINSTALL_PASSWORD, m_strPassword, false);
    ::SetFocus(GetDlgItem(IDC_UNINSTALL_PASSWORD));
}
