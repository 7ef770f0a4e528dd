// A new password for one account (the Administrator or a child), typed twice.
#pragma once

#include <string>

#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"

class CDataStore;
class IControllerHost;

class CChangePasswordDlg : public CFramedDialog {
public:
    // The controller's host (null in tests) keeps the tray quiet while a message box is open.
    explicit CChangePasswordDlg(IControllerHost* pHost = nullptr);

    CDataStore* m_pStore = nullptr;
    std::string m_strUser;
    std::string m_strPassword;
    std::string m_strConfirm;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CSkinButton m_btnOk;
    IControllerHost* m_pHost;
};

// Shows the message about two entries that differ, with the tray menu off meanwhile.
void ShowPasswordMismatch(HWND hOwner, IControllerHost* pHost);
// Shows the refusal of an empty Administrator password, with the tray menu off meanwhile.
void ShowEmptyAdminPassword(HWND hOwner, IControllerHost* pHost);
