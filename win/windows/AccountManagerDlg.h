// The account manager: the Administrator and the children in a list, with buttons to add a
// child, delete one (from every data file) and change an account's password.
#pragma once

#include <string>

#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"
#include "win/windows/AddAccountDlg.h"
#include "win/windows/ChangePasswordDlg.h"

class CDataStore;
class IControllerHost;

// Removes a child from the four files that know it: child.nam, prj.nam, use.sta and userinfo.aur
// (the last only when the child is in it); the others keep their order. Returns the first file
// that could not be saved, or null.
const char* DeleteChildAccount(CDataStore& store, const std::string& strName);

class CAccountManagerDlg : public CFramedDialog {
public:
    // The controller's host (null in tests) keeps the tray quiet while a message box is open.
    explicit CAccountManagerDlg(IControllerHost* pHost = nullptr);

    CDataStore* m_pStore = nullptr;

    // The name of the selected row, trimmed of blanks; empty when no row is selected.
    std::string SelectedName() const;

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    bool OnCommand(int nId, int nCode, HWND hCtl) override;
    void OnDestroy() override;

private:
    void RefreshList();
    void UpdateButtons();
    void OnAdd();
    void OnDelete();
    void OnChangePassword();

    CAddAccountDlg m_dlgAdd;
    CChangePasswordDlg m_dlgChangePassword;
    CSkinButton m_btnAdd, m_btnDelete, m_btnChange, m_btnClose;
    IControllerHost* m_pHost;
};
