// The application object: start-up and end of the process, the main window, the dialog colours
// and the message pump every loop shares.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    static CWinApp* Get();
    static HINSTANCE ResourceHandle();

    // The whole start-up; FALSE ends the process after ExitInstance.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }
    // The application's own message loop, for programs whose InitInstance returns TRUE.
    virtual int Run();

    // Takes one message and hands it on; false when WM_QUIT arrived (it is posted again so that
    // every enclosing loop ends too).
    static bool PumpMessage();
    // Offers a message to the PreTranslateMessage of its window and that window's parents and owners.
    static BOOL PreTranslate(MSG* pMsg);

    void SetDialogBkColor(COLORREF crBackground, COLORREF crText);
    COLORREF DialogBkColor() const { return m_crDialogBk; }
    COLORREF DialogTextColor() const { return m_crDialogText; }
    HBRUSH DialogBrush() const { return m_hDialogBrush; }

    // The executable's base name (no folder, no ".exe"): the caption of the program's message boxes.
    const std::string& ExeName() const { return m_strExeName; }

    // The main window: the default owner of dialogs created without a parent. Set by the start-up
    // (and by tests that stand in for it).
    CWnd* MainWnd() const { return m_pMainWnd; }
    void SetMainWnd(CWnd* pWnd) { m_pMainWnd = pWnd; }
    // The main window's handle unless it is pWnd itself (a window does not own itself), else null.
    HWND DefaultOwner(const CWnd* pWnd) const;

    HINSTANCE m_hInstance = nullptr;

protected:
    CWnd* m_pMainWnd = nullptr;

private:
    std::string m_strExeName;
    COLORREF m_crDialogBk = RGB(240, 240, 240);
    COLORREF m_crDialogText = RGB(0, 0, 0);
    HBRUSH m_hDialogBrush = nullptr;
};

// A message box over the active window of the program, captioned with the executable's base name.
int AppMessageBox(const std::string& strText, UINT nType = MB_OK);

// The process entry shared by the program's WinMain: InitInstance, Run when it says so, ExitInstance.
int RunApplication();
