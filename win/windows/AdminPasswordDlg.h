// The first-run dialog in which the parent sets the Administrator password. It ends only through
// a matching OK: Escape, Enter and the system menu's close are swallowed.
#pragma once

#include <string>

#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"

class CDataStore;
class IControllerHost;

class CAdminPasswordDlg : public CFramedDialog {
public:
    // The store to write and the controller's host; both may be null (tests set m_pStore).
    explicit CAdminPasswordDlg(CDataStore* pStore = nullptr, IControllerHost* pHost = nullptr);

    // The store to change; without one, the controller's.
    CDataStore* m_pStore = nullptr;
    std::string m_strPassword;
    std::string m_strConfirm;

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    bool OnCommand(int nId, int nCode, HWND hCtl) override;
    bool OnSysCommand(UINT nId, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    void OnConfirm();

    CSkinButton m_btnOk;
    IControllerHost* m_pHost;
};
