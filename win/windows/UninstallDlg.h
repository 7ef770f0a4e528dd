// The prompt of "Quenby.exe /uninstall": the Administrator's password, in the program's own
// dialog frame. It ends with IDOK only when the password is right; a wrong one is refused as the
// lock screen refuses it, and Cancel or the close button end it with IDCANCEL.
#pragma once

#include <string>

#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"

class CAdminAccount;

class CUninstallDlg : public CFramedDialog {
public:
    explicit CUninstallDlg(const CAdminAccount& admin);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    const CAdminAccount& m_admin;
    std::string m_strPassword;
    CSkinButton m_btnOk;
    CSkinButton m_btnCancel;
};
