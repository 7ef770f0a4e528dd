// The program-wide options: start with Windows, and an opaque or a half-transparent curtain
// behind the lock screen. Both live in the Administrator record. Installed with the guard service,
// the service starts the program: the options then tick the Windows accounts it is kept running
// in instead (protect.nam).
#pragma once

#include <vector>

#include "core/store/ProtectedAccounts.h"
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
    void FillAccounts();
    void TakeAccounts();

    CSkinButton m_btnOk;
    CProtectedAccounts m_protected;
    std::vector<ACCOUNT_ROW> m_rows;
    IControllerHost* m_pHost;
};
