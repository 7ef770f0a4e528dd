// A new password for one account (the Administrator or a child), typed twice.
#pragma once

#include <string>

#include "controls/SkinButton.h"
#include "shell/FramedDialog.h"

class CDataStore;

class CChangePasswordDlg : public CFramedDialog {
public:
    CChangePasswordDlg();

    CDataStore* m_pStore = nullptr;
    std::string m_strUser;
    std::string m_strPassword;
    std::string m_strConfirm;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CSkinButton m_btnOk;
};

// Shows the message about two entries that differ, with the tray menu off meanwhile.
void ShowPasswordMismatch(HWND hOwner);
