// The events since the Administrator's last login (restored files, failed saves, wrong
// Administrator passwords...), listed in the program's frame before the editor opens.
#pragma once

#include <string>
#include <vector>

#include "core/store/EventLog.h"
#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"

class CEventsDlg : public CFramedDialog {
public:
    explicit CEventsDlg(std::vector<EVENT_ENTRY> events, CWnd* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;

private:
    std::vector<EVENT_ENTRY> m_events;
    CSkinButton m_btnOk;
};
