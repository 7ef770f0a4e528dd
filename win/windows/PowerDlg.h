// The power actions dialog of the lock screen: turn the computer off or restart it.
#pragma once

#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"

class CPowerDlg : public CFramedDialog {
public:
    explicit CPowerDlg(CWnd* pParent = nullptr);

    // Enables the shut-down privilege and asks the system to end with the given ExitWindowsEx
    // flags; each failing step says so and the next one is still tried.
    void ShutDown(unsigned uFlags);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int nId, int nCode, HWND hCtl) override;

private:
    CSkinButton m_btnTurnOff;
    CSkinButton m_btnRestart;
    CSkinButton m_btnCancel;
};
