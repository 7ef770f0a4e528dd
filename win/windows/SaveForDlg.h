// "Save for...": asks to which weekdays and which children the arrangement being edited is saved.
// It writes nothing itself: the editor saves what was chosen once the dialog ends with OK.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"

class CSaveForDlg : public CFramedDialog {
public:
    // The day and child being edited are ticked when the dialog opens.
    CSaveForDlg(CWnd* pParent, int nDay, std::string strUser, std::vector<std::string> children);

    // What was chosen, read when OK is pressed.
    std::array<bool, 7> m_bDays{};
    std::vector<std::string> m_chosenUsers;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void FillChildren();

    int m_nDay;
    std::string m_strUser;
    std::vector<std::string> m_children;
    CSkinButton m_btnOk, m_btnCancel;
};
