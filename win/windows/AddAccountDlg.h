// A new child account: its name and an optional password. "Add" closes the dialog in every case
// and then adds the account, or says why it cannot.
#pragma once

#include <string>

#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"

class CDataStore;
class IControllerHost;

// Why a name cannot become a new child account.
enum class NAME_CHECK { OK, EMPTY, TAKEN };
// Checks a trimmed name against the children (case-sensitive) and the reserved "Administrator".
NAME_CHECK CheckNewName(const CDataStore& store, const std::string& strName);

class CAddAccountDlg : public CFramedDialog {
public:
    // The controller's host (null in tests) keeps the tray quiet while a message box is open.
    explicit CAddAccountDlg(IControllerHost* pHost = nullptr);

    CDataStore* m_pStore = nullptr;
    std::string m_strName;
    std::string m_strPassword;
    int m_bWantsPassword = 0;  // the check box state (BST_CHECKED 1)

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int nId, int nCode, HWND hCtl) override;
    void OnOK() override;

private:
    void AddAccount();

    CSkinButton m_btnAdd;
    // The window under the dialog, which owns the message about a refused name.
    HWND m_hMessageOwner = nullptr;
    IControllerHost* m_pHost;
};
