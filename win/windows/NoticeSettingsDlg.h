// The child's notice settings: the week of arrangements to look at, the lead time of the words
// notice and the alert sound. OK stores the choice in the child's account at once.
#pragma once

#include <string>

#include "win/controls/FlatCombo.h"
#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"

class CDataStore;
class IStatusWndLink;

class CNoticeSettingsDlg : public CFramedDialog {
public:
    explicit CNoticeSettingsDlg(CWnd* pParent = nullptr);

    CDataStore* m_pStore = nullptr;
    IStatusWndLink* m_pStatusWnd = nullptr;
    std::string m_strUser;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int nId, int nCode, HWND hCtl) override;
    bool OnPaint() override;
    void OnOK() override;

private:
    CSkinButton m_btnOk;
    CFlatCombo m_comboSeconds;
};
