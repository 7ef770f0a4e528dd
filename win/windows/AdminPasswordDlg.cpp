// The first-run Administrator password dialog.
#include "win/windows/AdminPasswordDlg.h"

#include "core/store/DataStore.h"
#include "core/store/EventLog.h"
#include "core/store/RecordField.h"
#include "core/texts/MsgText.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/controls/WinUtilities.h"
#include "win/framework/DataExchange.h"
#include "win/framework/WinApp.h"
#include "win/windows/AutoRun.h"
#include "win/windows/ChangePasswordDlg.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/SaveFailure.h"

CAdminPasswordDlg::CAdminPasswordDlg(CDataStore* pStore, IControllerHost* pHost)
    : CFramedDialog(IDD_ADMIN_PASSWORD), m_pStore(pStore), m_pHost(pHost) {}

BOOL CAdminPasswordDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText(GetMsgText(296));
    SetDlgItemText(IDC_FIRST_EXPLANATION, GetMsgText(298));
    SetDlgItemText(IDC_FIRST_GROUP, "");
    SetDlgItemText(IDC_FIRST_PASSWORD_LABEL, GetMsgText(207));
    SetDlgItemText(IDC_FIRST_CONFIRM_LABEL, GetMsgText(208));
    if (m_btnOk.SubclassDlgItem(IDC_FIRST_OK, this)) ApplyActionButtonLook(m_btnOk, 0);
    m_strPassword.clear();
    m_strConfirm.clear();
    DDX_Text(m_hWnd, IDC_FIRST_PASSWORD, m_strPassword, false);
    DDX_Text(m_hWnd, IDC_FIRST_CONFIRM, m_strConfirm, false);
    DDV_MaxChars(m_hWnd, IDC_FIRST_PASSWORD, 31);
    DDV_MaxChars(m_hWnd, IDC_FIRST_CONFIRM, 31);
    ::SetFocus(GetDlgItem(IDC_FIRST_PASSWORD));
    return FALSE;
}

BOOL CAdminPasswordDlg::PreTranslateMessage(MSG* pMsg) {
    if (IsReturnOrEscape(pMsg)) return TRUE;
    return CFramedDialog::PreTranslateMessage(pMsg);
}

bool CAdminPasswordDlg::OnSysCommand(UINT nId, LPARAM) { return (nId & 0xFFF0) == SC_CLOSE; }

bool CAdminPasswordDlg::OnCommand(int nId, int nCode, HWND hCtl) {
    if (nId != IDC_FIRST_OK) return CFramedDialog::OnCommand(nId, nCode, hCtl);
    if (nCode == BN_CLICKED) OnConfirm();
    return true;
}

void CAdminPasswordDlg::OnConfirm() {
    DDX_Text(m_hWnd, IDC_FIRST_PASSWORD, m_strPassword, true);
    DDX_Text(m_hWnd, IDC_FIRST_CONFIRM, m_strConfirm, true);
    // Enter alone must never open the editor: the Administrator always has a password.
    if (m_strPassword != m_strConfirm || m_strPassword.empty()) {
        if (m_strPassword.empty())
            ShowEmptyAdminPassword(m_hWnd, m_pHost);
        else
            ShowPasswordMismatch(m_hWnd, m_pHost);
        m_strPassword.clear();
        m_strConfirm.clear();
        DDX_Text(m_hWnd, IDC_FIRST_PASSWORD, m_strPassword, false);
        DDX_Text(m_hWnd, IDC_FIRST_CONFIRM, m_strConfirm, false);
        return;
    }
    CDataStore* pStore = m_pStore;
    if (pStore) {
        ADMIN_ACCOUNT& admin = pStore->m_adminAccount.m_admin;
        pStore->m_adminAccount.SetPassword(m_strPassword);
        admin.bAutoRun = 1;
        ReportAutoRunFailure(AlignAutoRun(true), true);
        admin.bFirstRunPending = 0;
        CheckSaved(pStore->m_adminAccount.Save(), CAdminAccount::kFileName, m_hWnd, m_pHost);
        CEventLog::Append(CEventLog::kFirstRun, CAdminAccount::kName, "the Administrator password was chosen");
    }
    EndDialog(IDOK);
}
