// The add-account dialog.
#include "win/windows/AddAccountDlg.h"

#include "core/store/DataStore.h"
#include "core/store/PrjStore.h"
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

NAME_CHECK CheckNewName(const CDataStore& store, const std::string& strName) {
    if (strName.empty()) return NAME_CHECK::EMPTY;
    if (strName == CAdminAccount::kName || store.m_childAccounts.Exists(strName)) return NAME_CHECK::TAKEN;
    return NAME_CHECK::OK;
}

CAddAccountDlg::CAddAccountDlg(IControllerHost* pHost) : CFramedDialog(IDD_ADD_ACCOUNT), m_pHost(pHost) {}

BOOL CAddAccountDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText(GetMsgText(324));
    SetDlgItemText(IDC_ADD_NAME_LABEL, GetMsgText(326));
    SetDlgItemText(IDC_ADD_WANTS_PASSWORD, GetMsgText(328));
    if (m_btnAdd.SubclassDlgItem(IDOK, this)) ApplyActionButtonLook(m_btnAdd, 0);
    m_strName.clear();
    m_strPassword.clear();
    m_bWantsPassword = 0;
    DDX_Text(m_hWnd, IDC_ADD_NAME, m_strName, false);
    DDX_Text(m_hWnd, IDC_ADD_PASSWORD, m_strPassword, false);
    DDX_Check(m_hWnd, IDC_ADD_WANTS_PASSWORD, m_bWantsPassword, false);
    DDV_MaxChars(m_hWnd, IDC_ADD_NAME, 127);
    DDV_MaxChars(m_hWnd, IDC_ADD_PASSWORD, 31);
    EnableItem(IDC_ADD_PASSWORD, FALSE);
    return TRUE;
}

bool CAddAccountDlg::OnCommand(int nId, int nCode, HWND hCtl) {
    if (nId == IDC_ADD_WANTS_PASSWORD && nCode == BN_CLICKED) {
        DDX_Check(m_hWnd, IDC_ADD_WANTS_PASSWORD, m_bWantsPassword, true);
        EnableItem(IDC_ADD_PASSWORD, m_bWantsPassword == 1);
        return true;
    }
    return CFramedDialog::OnCommand(nId, nCode, hCtl);
}

void CAddAccountDlg::OnOK() {
    // The dialog closes in every case; a refused name has to be entered again in a new one.
    DDX_Text(m_hWnd, IDC_ADD_NAME, m_strName, true);
    DDX_Text(m_hWnd, IDC_ADD_PASSWORD, m_strPassword, true);
    DDX_Check(m_hWnd, IDC_ADD_WANTS_PASSWORD, m_bWantsPassword, true);
    m_hMessageOwner = ::GetWindow(m_hWnd, GW_OWNER);
    EndDialog(IDOK);
    AddAccount();
}

void CAddAccountDlg::AddAccount() {
    if (!m_pStore) return;
    const std::string strName = Trimmed(m_strName);
    switch (CheckNewName(*m_pStore, strName)) {
        case NAME_CHECK::EMPTY:
            return;
        case NAME_CHECK::TAKEN: {
            const CTrayMenuPause trayMenuOff(m_pHost);
            const std::string strText = FormatMsgText(246, strName.c_str());
            ::MessageBoxA(m_hMessageOwner, strText.c_str(), GetMsgText(247).c_str(), MB_OK);
            return;
        }
        case NAME_CHECK::OK:
            break;
    }
    if (m_bWantsPassword == 1 && !m_strPassword.empty())
        m_pStore->m_childAccounts.Add(strName, m_strPassword);
    else
        m_pStore->m_childAccounts.Add(strName);
    if (!CheckSaved(m_pStore->m_childAccounts.Save(), CChildAccountList::kFileName, m_hMessageOwner, m_pHost)) {
        // Not kept half: the account goes again, so the list in memory matches the file.
        m_pStore->m_childAccounts.Remove(strName);
        return;
    }
    m_pStore->m_prjStore.Add(CUserPrj(FieldText(strName, CUserPrj::NAME_SIZE)));
    CheckSaved(m_pStore->m_prjStore.Save(), CPrjStore::FILE_NAME, m_hMessageOwner, m_pHost);
}
