// The program-wide options: start with Windows, and an opaque or a half-transparent curtain
// behind the lock screen. Both live in the Administrator record.
#pragma once

#include "controls/SkinButton.h"
#include "shell/FramedDialog.h"

class CDataStore;

// Registers or removes the auto-run value so that it agrees with the flag; 0, or the failed
// change's registry status.
long AlignAutoRun(int bAutoRun);

class COptionsDlg : public CFramedDialog {
public:
    COptionsDlg();

    CDataStore* m_pStore = nullptr;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int nId, int nCode, HWND hCtl) override;
    bool OnPaint() override;
    void OnOK() override;

private:
    CSkinButton m_btnOk;
};
