// The change-password dialog.
#include "win/windows/ChangePasswordDlg.h"

#include "core/store/DataStore.h"
#include "core/store/RecordField.h"
#include "core/texts/MsgText.h"
#include "core/texts/Utilities.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/framework/DataExchange.h"
#include "win/framework/WinApp.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/TrayMenuPause.h"
#include "win/windows/SaveFailure.h"

void ShowPasswordMismatch(HWND hOwner, IControllerHost* pHost) {
    const CTrayMenuPause trayMenuOff(pHost);
    ::MessageBoxA(hOwner, GetMsgText(210).c_str(), GetMsgText(211).c_str(), MB_OK);
}

void ShowEmptyAdminPassword(HWND hOwner, IControllerHost* pHost) {
    const CTrayMenuPause trayMenuOff(pHost);
    ::MessageBoxA(hOwner, GetMsgText(400).c_str(), GetMsgText(211).c_str(), MB_OK);
}

CChangePasswordDlg::CChangePasswordDlg(IControllerHost* pHost) : CFramedDialog(IDD_CHANGE_PASSWORD), m_pHost(pHost) {}

BOOL CChangePasswordDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText(FormatMsgText(330, m_strUser.c_str()));
    SetDlgItemText(IDC_CHANGE_PASSWORD_LABEL, GetMsgText(206));
    SetDlgItemText(IDC_CHANGE_CONFIRM_LABEL, GetMsgText(208));
    if (m_btnOk.SubclassDlgItem(IDOK, this)) ApplyActionButtonLook(m_btnOk, 0);
    m_strPassword.clear();
    m_strConfirm.clear();
    DDX_Text(m_hWnd, IDC_CHANGE_PASSWORD, m_strPassword, false);
    DDX_Text(m_hWnd, IDC_CHANGE_CONFIRM, m_strConfirm, false);
    DDV_MaxChars(m_hWnd, IDC_CHANGE_PASSWORD, 31);
    DDV_MaxChars(m_hWnd, IDC_CHANGE_CONFIRM, 31);
    return TRUE;
}

void CChangePasswordDlg::OnOK() {
    DDX_Text(m_hWnd, IDC_CHANGE_PASSWORD, m_strPassword, true);
    DDX_Text(m_hWnd, IDC_CHANGE_CONFIRM, m_strConfirm, true);
    const bool bEmptyAdmin = m_strUser == CAdminAccount::kName && m_strPassword.empty();
    if (m_strPassword != m_strConfirm || bEmptyAdmin) {
        if (bEmptyAdmin)
            ShowEmptyAdminPassword(m_hWnd, m_pHost);
        else
            ShowPasswordMismatch(m_hWnd, m_pHost);
        m_strPassword.clear();
        m_strConfirm.clear();
        DDX_Text(m_hWnd, IDC_CHANGE_PASSWORD, m_strPassword, false);
        DDX_Text(m_hWnd, IDC_CHANGE_CONFIRM, m_strConfirm, false);
        return;
    }
    if (m_pStore) {
        if (m_strUser == CAdminAccount::kName) {
            m_pStore->m_adminAccount.SetPassword(m_strPassword);
            CheckSaved(m_pStore->m_adminAccount.Save(), CAdminAccount::kFileName, m_hWnd, m_pHost);
        } else {
            // Also for an empty password: the child then logs in with an empty field.
            m_pStore->m_childAccounts.SetPassword(m_strUser, m_strPassword);
            CheckSaved(m_pStore->m_childAccounts.Save(), CChildAccountList::kFileName, m_hWnd, m_pHost);
        }
    }
    EndDialog(IDOK);
}
