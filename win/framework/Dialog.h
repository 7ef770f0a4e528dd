// Dialogs on templates from the resources: modal with our own message loop, or modeless.
#pragma once

#include "win/framework/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIdTemplate, CWnd* pParent = nullptr) : m_nIdTemplate(nIdTemplate), m_pParent(pParent) {}

    // Runs the dialog until EndDialog; the owner (the parent, else the main window) is disabled
    // meanwhile. Every window's PreTranslateMessage keeps working for the modeless windows.
    INT_PTR DoModal();
    // Creates the modeless window; without a parent the application's main window owns it.
    BOOL Create(UINT nIdTemplate = 0, CWnd* pParent = nullptr);
    void EndDialog(int nResult);
    bool IsModal() const { return m_bModal; }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    // True for a press of Return or Escape aimed at the dialog or one of its controls; the dialogs
    // that must not end on those keys swallow it in their PreTranslateMessage.
    bool IsReturnOrEscape(const MSG* pMsg) const;

    // Sends a message from outside through the dialog's procedure and returns its result, as a
    // caller of SendMessage would see it (tests drive the dialogs this way).
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The colours of the application's dialogs for statics, buttons and the dialog itself.
    virtual HBRUSH OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor);

    UINT m_nIdTemplate;
    CWnd* m_pParent;

private:
    HWND OwnerWindow() const;
    bool HandleDefault(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    bool m_bModal = false;
    bool m_bEndModal = false;
    int m_nModalResult = -1;
};
