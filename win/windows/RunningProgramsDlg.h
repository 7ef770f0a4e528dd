// The programs running now, each window a row with its program's file and its title, for the
// parent to pick the program a rule is for. It changes nothing itself.
#pragma once

#include <vector>

#include "core/seams/Processes.h"
#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"

class CRunningProgramsDlg : public CFramedDialog {
public:
    explicit CRunningProgramsDlg(CWnd* pParent);

    // The window whose program was picked, read when the dialog ends with OK.
    PROGRAM_WINDOW m_chosen;
    const std::vector<PROGRAM_WINDOW>& Windows() const { return m_windows; }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    void OnOK() override;

private:
    std::vector<PROGRAM_WINDOW> m_windows;
    CSkinButton m_btnOk, m_btnCancel;
};
