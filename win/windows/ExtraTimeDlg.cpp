// The extra-time dialog.
#include "win/windows/ExtraTimeDlg.h"

#include "core/rules/LoginThrottle.h"
#include "core/seams/Clock.h"
#include "core/store/DataStore.h"
#include "core/store/EventLog.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/framework/DataExchange.h"
#include "win/windows/ControllerHost.h"
#include "win/windows/PasswordRefusal.h"

namespace {
const struct {
    int nId;
    EXTRA_GRANT grant;
} kChoices[] = {{IDC_EXTRA_15, EXTRA_GRANT::MINUTES_15},
                {IDC_EXTRA_30, EXTRA_GRANT::MINUTES_30},
                {IDC_EXTRA_60, EXTRA_GRANT::HOUR_1},
                {IDC_EXTRA_REST_OF_DAY, EXTRA_GRANT::REST_OF_DAY}};
}  // namespace

CExtraTimeDlg::CExtraTimeDlg(CWnd* pParent, CDataStore* pStore, IControllerHost* pHost, std::string strUser)
    : CFramedDialog(IDD_EXTRA_TIME, pParent), m_pStore(pStore), m_pHost(pHost), m_strUser(std::move(strUser)) {}

BOOL CExtraTimeDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText("Ask for more time");
    SetDlgItemText(IDC_EXTRA_TEXT, "More time for " + m_strUser +
                                       ", today only. A parent chooses how much and types the Administrator's password.");
    for (const auto& choice : kChoices) {
        std::string strName = ExtraGrantName(choice.grant);
        if (choice.grant == EXTRA_GRANT::REST_OF_DAY) strName[0] = 'T';
        SetDlgItemText(choice.nId, strName);
    }
    ::CheckRadioButton(m_hWnd, IDC_EXTRA_15, IDC_EXTRA_REST_OF_DAY, IDC_EXTRA_15);
    SetDlgItemText(IDC_EXTRA_PASSWORD_LABEL, "Administrator's password:");
    if (m_btnOk.SubclassDlgItem(IDOK, this)) ApplyActionButtonLook(m_btnOk, 0);
    if (m_btnCancel.SubclassDlgItem(IDCANCEL, this)) ApplyActionButtonLook(m_btnCancel, 0);
    DDV_MaxChars(m_hWnd, IDC_EXTRA_PASSWORD, 31);
    ::SetFocus(GetDlgItem(IDC_EXTRA_PASSWORD));
    return FALSE;
}

EXTRA_GRANT CExtraTimeDlg::ChosenGrant() const {
    for (const auto& choice : kChoices)
        if (::IsDlgButtonChecked(m_hWnd, choice.nId) == BST_CHECKED) return choice.grant;
    return EXTRA_GRANT::MINUTES_15;
}

void CExtraTimeDlg::OnOK() {
    DDX_Text(m_hWnd, IDC_EXTRA_PASSWORD, m_strPassword, true);
    if (RefuseTryDuringWait(m_hWnd, m_pHost)) {
        m_strPassword.clear();
        DDX_Text(m_hWnd, IDC_EXTRA_PASSWORD, m_strPassword, false);
        return;
    }
    if (!m_pStore || !m_pStore->m_adminAccount.AcceptsPassword(m_strPassword)) {
        RefuseWrongPassword(m_hWnd, m_pHost, CAdminAccount::kName, "in the extra-time dialog");
        m_strPassword.clear();
        DDX_Text(m_hWnd, IDC_EXTRA_PASSWORD, m_strPassword, false);
        ::SetFocus(GetDlgItem(IDC_EXTRA_PASSWORD));
        return;
    }
    if (m_pHost) m_pHost->LoginThrottle().OnRight();
    m_grant = ChosenGrant();
    m_nSeconds = ExtraGrantSeconds(m_grant, CClock::Now());
    CEventLog::Append(CEventLog::kExtraTime, m_strUser,
                      "Extra time granted: " + ExtraGrantName(m_grant) + " (" + std::to_string(m_nSeconds / 60) + " minutes)");
    EndDialog(IDOK);
}
