// The power actions dialog.
#include "win/windows/PowerDlg.h"

#include "core/seams/SystemActions.h"
#include "core/texts/MsgText.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/framework/WinApp.h"

namespace {
const unsigned kShutDown = 1;  // EWX_SHUTDOWN
const unsigned kReboot = 2;    // EWX_REBOOT
}  // namespace

CPowerDlg::CPowerDlg(CWnd* pParent) : CFramedDialog(IDD_POWER, pParent) {}

BOOL CPowerDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_btnTurnOff.SubclassDlgItem(IDC_POWER_TURN_OFF, this);
    m_btnRestart.SubclassDlgItem(IDC_POWER_RESTART, this);
    m_btnCancel.SubclassDlgItem(IDOK, this);
    m_title.SetWindowText(GetMsgText(376));
    m_btnTurnOff.SetWindowText(GetMsgText(376));
    m_btnRestart.SetWindowText(GetMsgText(380));
    m_btnCancel.SetWindowText(GetMsgText(382));
    // The pictures' edges are blended onto the window's background, which the buttons show.
    for (CSkinButton* pButton : {&m_btnTurnOff, &m_btnRestart}) {
        pButton->SetColor(CSkinButton::COLOR_BK_OUT, kDialogBkColor);
        pButton->SetColor(CSkinButton::COLOR_BK_FOCUS, kDialogBkColor);
        pButton->SetColor(CSkinButton::COLOR_BK_IN, kDialogBkColor);
        pButton->OffsetColor(CSkinButton::COLOR_BK_IN, 30);
        pButton->SetColor(CSkinButton::COLOR_FG_IN, kAccentColor);
    }
    m_btnTurnOff.SetBitmaps(IDB_TURN_OFF, RGB(255, 255, 255));
    m_btnRestart.SetBitmaps(IDB_RESTART, RGB(255, 255, 255));
    ApplyGreyButtonLook(m_btnCancel);
    return TRUE;
}

void CPowerDlg::ShutDown(unsigned uFlags) {
    ISystemActions& system = CSystem::Get();
    if (!system.OpenProcessToken()) AppMessageBox("OpenProcessToken Error.");
    if (!system.AdjustShutdownPrivilege()) AppMessageBox("AdjustTokenPrivileges Error.");
    if (!system.ExitSystem(uFlags)) AppMessageBox("ExitWindowsEx Error.");
}

bool CPowerDlg::OnCommand(int nId, int nCode, HWND hCtl) {
    switch (nId) {
        case IDC_POWER_TURN_OFF:
            ShutDown(kShutDown);
            return true;
        case IDC_POWER_RESTART:
            ShutDown(kReboot);
            return true;
        default:
            return CFramedDialog::OnCommand(nId, nCode, hCtl);
    }
}
