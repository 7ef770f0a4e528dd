// "Ask for more time": the parent types the Administrator's password and picks how much extra
// time the child gets today. A right password records the grant in the event log and ends the
// dialog with OK; the caller gives the time. A wrong one is refused as at the lock screen.
#pragma once

#include <string>

#include "core/rules/ExtraTime.h"
#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"

class CDataStore;
class IControllerHost;

class CExtraTimeDlg : public CFramedDialog {
public:
    CExtraTimeDlg(CWnd* pParent, CDataStore* pStore, IControllerHost* pHost, std::string strUser);

    // The choice once the dialog ended with OK, and the seconds it gives at that moment.
    EXTRA_GRANT m_grant = EXTRA_GRANT::MINUTES_15;
    int m_nSeconds = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    EXTRA_GRANT ChosenGrant() const;

    CDataStore* m_pStore;
    IControllerHost* m_pHost;
    std::string m_strUser;
    std::string m_strPassword;
    CSkinButton m_btnOk, m_btnCancel;
};
