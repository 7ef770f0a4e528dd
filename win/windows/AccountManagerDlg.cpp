// The account manager.
#include "win/windows/AccountManagerDlg.h"

#include <commctrl.h>

#include "core/store/DataStore.h"
#include "core/texts/MsgText.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/controls/WinUtilities.h"
#include "win/framework/WinApp.h"
#include "win/windows/SaveFailure.h"

const char* DeleteChildAccount(CDataStore& store, const std::string& strName) {
    // Each list is read from its file first: in a run where no child has logged in, use.sta and
    // userinfo.aur were never loaded, and saving the empty lists would wipe the others' records.
    store.m_childAccounts.Load();
    store.m_prjStore.Load();
    store.m_usageStore.Load();
    store.m_activeUsers.Load();
    const char* pszFailed = nullptr;
    auto note = [&pszFailed](bool bSaved, const char* pszFile) {
        if (!bSaved && !pszFailed) pszFailed = pszFile;
    };
    store.m_childAccounts.Remove(strName);
    note(store.m_childAccounts.Save(), CChildAccountList::kFileName);
    store.m_prjStore.Remove(strName);
    note(store.m_prjStore.Save(), CPrjStore::FILE_NAME);
    store.m_usageStore.Remove(strName);
    note(store.m_usageStore.Save(), CUsageStore::FILE_NAME);
    // The child's rules per program go with the account: a new child of that name starts without.
    if (store.m_programRules.Load() || !store.m_programRules.GetList().empty()) {
        store.m_programRules.RemoveUser(strName);
        note(store.m_programRules.Save(), CProgramRuleStore::kFileName);
    }
    if (CActiveUserList::POSITION pos = store.m_activeUsers.Find(strName)) {
        store.m_activeUsers.Remove(pos);
        note(store.m_activeUsers.Save(), CActiveUserList::kFileName);
    }
    return pszFailed;
}

CAccountManagerDlg::CAccountManagerDlg(IControllerHost* pHost)
    : CFramedDialog(IDD_ACCOUNT_MANAGER), m_dlgAdd(pHost), m_dlgChangePassword(pHost), m_pHost(pHost) {}

BOOL CAccountManagerDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText(GetMsgText(300));
    SetDlgItemText(IDC_ACCOUNT_ADD, GetMsgText(304));
    SetDlgItemText(IDC_ACCOUNT_DELETE, GetMsgText(306));
    SetDlgItemText(IDC_ACCOUNT_CHANGE, GetMsgText(308));
    m_btnAdd.SubclassDlgItem(IDC_ACCOUNT_ADD, this);
    m_btnDelete.SubclassDlgItem(IDC_ACCOUNT_DELETE, this);
    m_btnChange.SubclassDlgItem(IDC_ACCOUNT_CHANGE, this);
    for (CSkinButton* pButton : {&m_btnAdd, &m_btnDelete, &m_btnChange}) ApplyActionButtonLook(*pButton, 2);
    if (m_btnClose.SubclassDlgItem(IDOK, this)) ApplyActionButtonLook(m_btnClose, 0);

    HWND hList = GetDlgItem(IDC_ACCOUNT_LIST);
    InsertListColumn(hList, 0, std::string(" ").append(GetMsgText(198)), 95);
    InsertListColumn(hList, 1, std::string(" ").append(GetMsgText(200)), 300);
    ::SetWindowLongA(hList, GWL_EXSTYLE, ::GetWindowLongA(hList, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(hList, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    ::SetWindowPos(hList, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);

    RefreshList();
    UpdateButtons();
    ::SetFocus(hList);
    return FALSE;
}

void CAccountManagerDlg::RefreshList() {
    HWND hList = GetDlgItem(IDC_ACCOUNT_LIST);
    ListView_DeleteAllItems(hList);
    if (!m_pStore) return;
    m_pStore->m_childAccounts.Load();
    auto addRow = [hList](int nRow, const std::string& strName, const std::string& strDescription) {
        std::string strFirst = std::string(" ").append(strName), strSecond = std::string(" ").append(strDescription);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = nRow;
        item.pszText = strFirst.data();
        ListView_InsertItem(hList, &item);
        ListView_SetItemText(hList, nRow, 1, strSecond.data());
    };
    addRow(0, CAdminAccount::kName, GetMsgText(202));
    for (int n = 0; n < m_pStore->m_childAccounts.GetCount(); ++n)
        addRow(n + 1, m_pStore->m_childAccounts.GetName(n), GetMsgText(204));
    ListView_SetItemState(hList, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

std::string CAccountManagerDlg::SelectedName() const {
    HWND hList = GetDlgItem(IDC_ACCOUNT_LIST);
    const int nRow = ListView_GetNextItem(hList, -1, LVNI_SELECTED);
    if (nRow < 0) return std::string();
    char szText[160] = {};
    ListView_GetItemText(hList, nRow, 0, szText, sizeof szText);
    const std::string strText = szText;
    const size_t nFirst = strText.find_first_not_of(' ');
    if (nFirst == std::string::npos) return std::string();
    return strText.substr(nFirst, strText.find_last_not_of(' ') - nFirst + 1);
}

void CAccountManagerDlg::UpdateButtons() {
    const std::string strName = SelectedName();
    const bool bSelected = ListView_GetNextItem(GetDlgItem(IDC_ACCOUNT_LIST), -1, LVNI_SELECTED) >= 0;
    EnableItem(IDC_ACCOUNT_CHANGE, bSelected);
    EnableItem(IDC_ACCOUNT_DELETE, bSelected && strName != CAdminAccount::kName);
}

bool CAccountManagerDlg::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    if (nMsg == WM_NOTIFY) {
        const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        if (pHeader->idFrom == IDC_ACCOUNT_LIST && pHeader->code == LVN_ITEMCHANGED) {
            UpdateButtons();
            lResult = 0;
            return true;
        }
    }
    return CFramedDialog::OnMessage(nMsg, wParam, lParam, lResult);
}

bool CAccountManagerDlg::OnCommand(int nId, int nCode, HWND hCtl) {
    if (nCode != BN_CLICKED) return CFramedDialog::OnCommand(nId, nCode, hCtl);
    switch (nId) {
        case IDC_ACCOUNT_ADD:
            OnAdd();
            return true;
        case IDC_ACCOUNT_DELETE:
            OnDelete();
            return true;
        case IDC_ACCOUNT_CHANGE:
            OnChangePassword();
            return true;
        default:
            return CFramedDialog::OnCommand(nId, nCode, hCtl);
    }
}

void CAccountManagerDlg::OnAdd() {
    m_dlgAdd.m_pStore = m_pStore;
    m_dlgAdd.DoModal();
    RefreshList();
    UpdateButtons();
}

void CAccountManagerDlg::OnDelete() {
    const std::string strName = SelectedName();
    if (strName.empty() || strName == CAdminAccount::kName || !m_pStore) return;
    if (const char* pszFailed = DeleteChildAccount(*m_pStore, strName)) CheckSaved(false, pszFailed, m_hWnd, m_pHost);
    RefreshList();
    UpdateButtons();
}

void CAccountManagerDlg::OnChangePassword() {
    if (ListView_GetNextItem(GetDlgItem(IDC_ACCOUNT_LIST), -1, LVNI_SELECTED) < 0) {
        AppMessageBox("No user selected!");
        return;
    }
    m_dlgChangePassword.m_pStore = m_pStore;
    m_dlgChangePassword.m_strUser = SelectedName();
    m_dlgChangePassword.DoModal();
}

void CAccountManagerDlg::OnDestroy() {
    for (CDialog* pDlg : {static_cast<CDialog*>(&m_dlgAdd), static_cast<CDialog*>(&m_dlgChangePassword)})
        if (pDlg->m_hWnd && ::IsWindow(pDlg->m_hWnd)) pDlg->SendMessage(WM_CLOSE);
    CFramedDialog::OnDestroy();
}
