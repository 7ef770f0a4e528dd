// The options dialog.
#include "win/windows/OptionsDlg.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/seams/DataGuard.h"
#include "core/seams/SystemActions.h"
#include "core/store/DataStore.h"
#include "core/texts/MsgText.h"
#include "platform/win32/WindowsAccounts.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/controls/GdiObject.h"
#include "win/controls/PaintDC.h"
#include "win/controls/WinUtilities.h"
#include "win/framework/WinApp.h"
#include "win/windows/AutoRun.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/SaveFailure.h"

COptionsDlg::COptionsDlg(IControllerHost* pHost) : CFramedDialog(IDD_OPTIONS), m_pHost(pHost) {}

BOOL COptionsDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText(GetMsgText(310));
    SetDlgItemText(IDC_OPTIONS_START_HEADING, GetMsgText(312));
    SetDlgItemText(IDC_OPTIONS_AUTO_RUN, GetMsgText(214));
    SetDlgItemText(IDC_OPTIONS_BACK_HEADING, GetMsgText(318));
    SetDlgItemText(IDC_OPTIONS_SEMI, GetMsgText(320));
    SetDlgItemText(IDC_OPTIONS_OPAQUE, GetMsgText(322));
    if (m_btnOk.SubclassDlgItem(IDOK, this)) ApplyActionButtonLook(m_btnOk, 0);
    if (!m_pStore) return TRUE;
    const ADMIN_ACCOUNT& admin = m_pStore->m_adminAccount.m_admin;
    if (CDataGuard::Get()) {
        // The guard service starts the program in the protected accounts: no value of its own.
        FillAccounts();
    } else {
        // The registration follows the stored flag as soon as the dialog opens, even if it is
        // cancelled; the box then shows what the registry holds.
        ReportAutoRunFailure(AlignAutoRun(admin.bAutoRun == 1), admin.bAutoRun == 1);
        ::CheckDlgButton(m_hWnd, IDC_OPTIONS_AUTO_RUN, IsAutoRun() ? BST_CHECKED : BST_UNCHECKED);
    }
    if (admin.nLockBackground == 1 || admin.nLockBackground == 2) {
        ::CheckDlgButton(m_hWnd, IDC_OPTIONS_OPAQUE, admin.nLockBackground == 1 ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(m_hWnd, IDC_OPTIONS_SEMI, admin.nLockBackground == 2 ? BST_CHECKED : BST_UNCHECKED);
    }
    return TRUE;
}

bool COptionsDlg::OnCommand(int nId, int nCode, HWND hCtl) {
    // The two background boxes are a pair: after any click exactly one is ticked.
    if ((nId == IDC_OPTIONS_SEMI || nId == IDC_OPTIONS_OPAQUE) && nCode == BN_CLICKED) {
        const int nOther = nId == IDC_OPTIONS_SEMI ? IDC_OPTIONS_OPAQUE : IDC_OPTIONS_SEMI;
        ::CheckDlgButton(m_hWnd, nOther, ::IsDlgButtonChecked(m_hWnd, nId) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        return true;
    }
    return CFramedDialog::OnCommand(nId, nCode, hCtl);
}

void COptionsDlg::OnOK() {
    if (m_pStore) {
        ADMIN_ACCOUNT& admin = m_pStore->m_adminAccount.m_admin;
        if (CDataGuard::Get()) {
            TakeAccounts();
        } else {
            admin.bAutoRun = ::IsDlgButtonChecked(m_hWnd, IDC_OPTIONS_AUTO_RUN) == BST_CHECKED ? 1 : 0;
            ReportAutoRunFailure(AlignAutoRun(admin.bAutoRun == 1), admin.bAutoRun == 1);
        }
        admin.nLockBackground = ::IsDlgButtonChecked(m_hWnd, IDC_OPTIONS_OPAQUE) == BST_CHECKED ? 1 : 2;
        CheckSaved(m_pStore->m_adminAccount.Save(), CAdminAccount::kFileName, m_hWnd, m_pHost);
        if (m_pHost) m_pHost->SetLockBackground(admin.nLockBackground);
    }
    EndDialog(IDOK);
}

void COptionsDlg::FillAccounts() {
    ::ShowWindow(GetDlgItem(IDC_OPTIONS_AUTO_RUN), SW_HIDE);
    SetDlgItemText(IDC_OPTIONS_ACCOUNTS_TEXT, "Keep Quenby running in the ticked Windows accounts:");
    ::ShowWindow(GetDlgItem(IDC_OPTIONS_ACCOUNTS_TEXT), SW_SHOW);
    std::vector<ACCOUNT_ROW> machine;
    for (const WINDOWS_ACCOUNT& account : LocalWindowsAccounts())
        machine.push_back(ACCOUNT_ROW{account.strName, account.bAdministrator, false});
    m_protected.Load();
    m_rows = m_protected.Rows(machine);
    HWND hList = GetDlgItem(IDC_OPTIONS_ACCOUNTS);
    ListView_SetExtendedListViewStyle(hList, LVS_EX_CHECKBOXES);
    RECT rc{};
    ::GetClientRect(hList, &rc);
    InsertListColumn(hList, 0, "", rc.right - ::GetSystemMetrics(SM_CXVSCROLL));
    for (std::size_t n = 0; n < m_rows.size(); ++n) {
        std::string strText = m_rows[n].strAccount + (m_rows[n].bAdministrator ? " (a Windows administrator)" : "");
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(n);
        item.pszText = strText.data();
        ListView_InsertItem(hList, &item);
        ListView_SetCheckState(hList, static_cast<int>(n), m_rows[n].bProtected);
    }
    ::ShowWindow(hList, SW_SHOW);
}

void COptionsDlg::TakeAccounts() {
    HWND hList = GetDlgItem(IDC_OPTIONS_ACCOUNTS);
    for (std::size_t n = 0; n < m_rows.size(); ++n)
        m_rows[n].bProtected = ListView_GetCheckState(hList, static_cast<int>(n)) != FALSE;
    m_protected.Take(m_rows);
    CheckSaved(m_protected.Save(), CProtectedAccounts::kFileName, m_hWnd, m_pHost);
}

bool COptionsDlg::OnPaint() {
    const CPaintDC dc(m_hWnd);
    const CGdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, RGB(138, 160, 240)));
    const CSelectObject selectPen(dc.Get(), pen.Get());
    for (int y : {67, 170}) {
        ::MoveToEx(dc.Get(), 86, y, nullptr);
        ::LineTo(dc.Get(), 310, y);
    }
    return true;
}
