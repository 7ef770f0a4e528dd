// The program-wide options: start with Windows, and an opaque or a half-transparent curtain
// behind the lock screen. Both live in the Administrator record.
#pragma once

#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"

class CDataStore;
class IControllerHost;

class COptionsDlg : public CFramedDialog {
public:
    // The controller's host (null in tests) keeps the tray quiet while a message box is open.
    explicit COptionsDlg(IControllerHost* pHost = nullptr);

    CDataStore* m_pStore = nullptr;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int nId, int nCode, HWND hCtl) override;
    bool OnPaint() override;
    void OnOK() override;

private:
    CSkinButton m_btnOk;
    IControllerHost* m_pHost;
};
