// The About box: the product's name and version, a notice and a link to its web site.
#pragma once

#include "win/controls/FramedDialog.h"
#include "win/controls/LinkLabel.h"
#include "win/controls/SkinButton.h"
#include "win/controls/TransLabel.h"

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
