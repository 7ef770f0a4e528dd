// The About box: the product's name and version, a notice and a link to its web site.
#pragma once

#include "controls/win32/LinkLabel.h"
#include "controls/win32/SkinButton.h"
#include "controls/win32/TransLabel.h"
#include "controls/win32/FramedDialog.h"

class CAboutDlg : public CFramedDialog {
public:
    explicit CAboutDlg(CWnd* pParent = nullptr);

    static const char* const kWebAddress;

protected:
    BOOL OnInitDialog() override;

private:
    CTransLabel m_version;
    CLinkLabel m_link;
    CSkinButton m_btnOk;
};
