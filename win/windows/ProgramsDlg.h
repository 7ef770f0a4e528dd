// The Programs window of the editor: the selected child's programs with rules. A rule is added by
// typing the program file's name or by picking a running program; the selected program gets its
// minutes for each weekday (or every day at once), blocked, and whether it counts outside the
// day's limits. Save writes programs.lim; Cancel leaves it as it was.
#pragma once

#include <string>

#include "core/programs/ProgramList.h"
#include "win/controls/FlatCombo.h"
#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"

class CDataStore;
class IControllerHost;

class CProgramsDlg : public CFramedDialog {
public:
    // The store and the host outlive the dialog; the host may be null in tests.
    CProgramsDlg(CWnd* pParent, CDataStore* pStore, IControllerHost* pHost, std::string strUser);

    // The list as the window shows it (tests).
    const CProgramList& List() const { return m_list; }
    int Selected() const { return m_nSelected; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int nId, int nCode, HWND hCtl) override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    // Save; Return in the name box adds the program typed instead.
    void OnOK() override;

private:
    void SetUpList();
    void FillMinuteCombo(int nId);
    void SelectMinutes(int nId, std::int32_t nMinutes);
    std::int32_t ChosenMinutes(int nId) const;
    void ShowRules();
    void ShowSelected();
    void Select(int nRow);
    void AddTyped();
    void AddRunning();
    void RemoveSelected();
    void ChooseMinutes(int nId);
    void ShowMessage(const std::string& strText);

    CDataStore* m_pStore;
    IControllerHost* m_pHost;
    std::string m_strUser;
    CProgramList m_list;
    int m_nSelected = -1;
    bool m_bShowing = false;  // set while the window fills its controls, whose changes are no choice
    CFlatCombo m_combos[8];   // Sunday to Saturday, then every day
    CSkinButton m_btnAdd, m_btnRunning, m_btnRemove, m_btnOk, m_btnCancel;
};
