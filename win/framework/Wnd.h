// The window object: binds a C++ object to an HWND and routes its messages to member handlers.
#pragma once

#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    // The handle of a window that may be missing: null for a null pointer.
    static HWND GetSafeHwnd(const CWnd* pWnd) { return pWnd ? pWnd->m_hWnd : nullptr; }

    // The object bound to a window of this program, or nullptr.
    static CWnd* FromHandle(HWND hWnd);

    // Binds this object to a control the dialog template created and routes the control's
    // messages through the object before the control's own procedure.
    BOOL SubclassDlgItem(int nId, CWnd* pParent);
    BOOL SubclassWindow(HWND hWnd);
    // Gives the control its own procedure back and unbinds the object; returns the window.
    HWND UnsubclassWindow();

    // Gives the window a chance to handle a message before it is translated and dispatched;
    // TRUE means handled. Called for the target window and then its parents and owners.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Item and window helpers used by every dialog.
    HWND GetDlgItem(int nId) const { return ::GetDlgItem(m_hWnd, nId); }
    void SetDlgItemText(int nId, const std::string& strText) const { ::SetDlgItemTextA(m_hWnd, nId, strText.c_str()); }
    std::string GetDlgItemText(int nId) const;
    std::string GetWindowText() const;
    void SetWindowText(const std::string& strText) const { ::SetWindowTextA(m_hWnd, strText.c_str()); }
    BOOL ShowWindow(int nCmdShow) const { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableItem(int nId, BOOL bEnable) const { return ::EnableWindow(GetDlgItem(nId), bEnable); }
    BOOL DestroyWindow();
    UINT_PTR SetTimer(UINT_PTR nId, UINT nElapse) const { return ::SetTimer(m_hWnd, nId, nElapse, nullptr); }
    BOOL KillTimer(UINT_PTR nId) const { return ::KillTimer(m_hWnd, nId); }
    void Invalidate(BOOL bErase = TRUE) const { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    LRESULT SendMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, nMsg, wParam, lParam);
    }
    BOOL PostMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, nMsg, wParam, lParam);
    }

protected:
    // Every message of the window, before the specific handlers; return true when handled and
    // put the message's result in lResult.
    virtual bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    // The specific handlers; each returns whether it handled the message (false: default processing).
    virtual bool OnCommand(int nId, int nCode, HWND hCtl);
    virtual bool OnTimer(UINT_PTR nId);
    virtual bool OnSysCommand(UINT nId, LPARAM lParam);
    virtual bool OnPaint();
    virtual bool OnEraseBkgnd(HDC hDC);
    virtual void OnDestroy() {}
    // The window is gone; objects that delete themselves do it here.
    virtual void PostNcDestroy() {}

    // A message the parent received about this control (WM_DRAWITEM, WM_CTLCOLOR*, WM_COMMAND
    // notifications), handed to the control first; true when handled, with the parent's result
    // in lResult.
    virtual bool OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    // The control has just been subclassed: the place to adjust its styles.
    virtual void PreSubclassWindow() {}
    // Default processing of a subclassed control: its own window procedure.
    LRESULT DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);

    // Routes one message: OnMessage first, then the child control it concerns, then the
    // specific handlers.
    bool Dispatch(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    void Attach(HWND hWnd);
    void Detach();

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    // Hands a parent's message about a child control to that control's object.
    static bool ReflectToChild(HWND hParent, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    WNDPROC m_pfnSuper = nullptr;  // the control's own procedure while subclassed
};
