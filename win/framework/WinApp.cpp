// The one application object of the process and the message pump.
#include "win/framework/WinApp.h"

#include <commctrl.h>

#include "win/framework/Wnd.h"

namespace {
CWinApp* g_pApp = nullptr;

std::string BaseNameWithoutExe(const char* pszPath) {
    std::string strName(pszPath);
    const size_t nSlash = strName.find_last_of("\\/");
    if (nSlash != std::string::npos) strName.erase(0, nSlash + 1);
    const size_t nDot = strName.rfind('.');
    if (nDot != std::string::npos) strName.erase(nDot);
    return strName;
}
}  // namespace

CWinApp::CWinApp() {
    g_pApp = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    m_strExeName = BaseNameWithoutExe(szPath);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
}

CWinApp::~CWinApp() {
    if (m_hDialogBrush) ::DeleteObject(m_hDialogBrush);
    if (g_pApp == this) g_pApp = nullptr;
}

CWinApp* CWinApp::Get() { return g_pApp; }

HINSTANCE CWinApp::ResourceHandle() { return g_pApp ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr); }

void CWinApp::SetDialogBkColor(COLORREF crBackground, COLORREF crText) {
    if (m_hDialogBrush) ::DeleteObject(m_hDialogBrush);
    m_crDialogBk = crBackground;
    m_crDialogText = crText;
    m_hDialogBrush = ::CreateSolidBrush(crBackground);
}

BOOL CWinApp::PreTranslate(MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = CWnd::FromHandle(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg)) return TRUE;
    }
    return FALSE;
}

bool CWinApp::PumpMessage() {
    MSG msg;
    const BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
    if (bGot == 0 || bGot == -1) {
        ::PostQuitMessage(bGot == 0 ? static_cast<int>(msg.wParam) : 1);
        return false;
    }
    if (!PreTranslate(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

int CWinApp::Run() {
    while (PumpMessage()) {
    }
    return ExitInstance();
}

HWND CWinApp::DefaultOwner(const CWnd* pWnd) const {
    return m_pMainWnd && m_pMainWnd != pWnd ? m_pMainWnd->m_hWnd : nullptr;
}

int AppMessageBox(const std::string& strText, UINT nType) {
    CWinApp* pApp = CWinApp::Get();
    HWND hOwner = ::GetActiveWindow();
    if (!hOwner && pApp && pApp->MainWnd()) hOwner = ::GetLastActivePopup(pApp->MainWnd()->m_hWnd);
    const std::string strCaption = pApp ? pApp->ExeName() : std::string();
    return ::MessageBoxA(hOwner, strText.c_str(), strCaption.c_str(), nType);
}

int RunApplication() {
    CWinApp* pApp = CWinApp::Get();
    if (!pApp) return 1;
    if (!pApp->InitInstance()) return pApp->ExitInstance();
    return pApp->Run();
}
