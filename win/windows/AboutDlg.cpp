// The About box.
#include "win/windows/AboutDlg.h"

#include "core/texts/MsgText.h"
#include "QuenbyVersion.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"

const char* const CAboutDlg::kWebAddress = "https://quenby.example.org";

namespace {
const char kNotice[] =
    "Quenby keeps a family's computer time within the limits the parents set.\n"
    QUENBY_COPYRIGHT;
}  // namespace

CAboutDlg::CAboutDlg(CWnd* pParent) : CFramedDialog(IDD_ABOUT, pParent) {}

BOOL CAboutDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText(GetMsgText(350) + " Quenby");
    if (m_version.SubclassDlgItem(IDC_ABOUT_VERSION, this)) {
        m_version.SetTextColor(kAccentColor);
        m_version.SetWindowText(QUENBY_PRODUCT_TITLE);
    }
    SetDlgItemText(IDC_ABOUT_NOTICE, kNotice);
    m_link.SetURL(kWebAddress);
    SetDlgItemText(IDC_ABOUT_LINK, kWebAddress);
    m_link.SubclassDlgItem(IDC_ABOUT_LINK, this);
    if (m_btnOk.SubclassDlgItem(IDOK, this)) ApplyActionButtonLook(m_btnOk, 0);
    return TRUE;
}
