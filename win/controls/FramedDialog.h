// The base of the small dialogs with the custom frame: the title band drags the dialog and is
// painted behind it, the title static 1110 is white on the band and button 1115 closes.
#pragma once

#include "win/controls/SkinButton.h"
#include "win/controls/TransLabel.h"
#include "win/framework/Dialog.h"

class CFramedDialog : public CDialog {
public:
    explicit CFramedDialog(UINT nIdTemplate, CWnd* pParent = nullptr) : CDialog(nIdTemplate, pParent) {}

protected:
    // Attaches the title static and the close button when the template has them and gives them
    // their look; derived dialogs call it first.
    BOOL OnInitDialog() override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    bool OnEraseBkgnd(HDC hDC) override;
    // Handles the close button; derived dialogs pass the commands they do not handle on.
    bool OnCommand(int nId, int nCode, HWND hCtl) override;
    HBRUSH OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor) override;
    void OnDestroy() override;

    // Closes the dialog the way the system menu would, so that a dialog that refuses SC_CLOSE
    // stays open.
    void OnTitleClose();

    CTransLabel m_title;
    CSkinButton m_btnTitleClose;
    // The smaller close picture; set before the dialog is created.
    bool m_bCloseVariant = false;

private:
    HBRUSH m_hBkBrush = nullptr;
};
