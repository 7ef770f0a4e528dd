// The window layer: dialogs bound to their objects, the modal loop and its message routing,
// the application's dialog colours, message boxes and data exchange.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "TestDialogs.h"
#include "win/framework/DataExchange.h"
#include "win/framework/Dialog.h"
#include "win/framework/WinApp.h"

namespace {

// A dialog whose reactions each test sets, and which records the messages it was offered.
class CProbeDialog : public CDialog {
public:
    explicit CProbeDialog(CWnd* pParent = nullptr) : CDialog(IDD_TEST_PLAIN, pParent) {}
    ~CProbeDialog() override {
        if (m_pbDeleted) *m_pbDeleted = true;
    }

    std::function<void(CProbeDialog&)> onInit;
    std::function<bool(int)> onCommand;
    std::vector<UINT> m_preTranslated;
    bool m_bDeleteSelf = false;
    bool* m_pbDeleted = nullptr;
    int m_nUserMessages = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        m_preTranslated.push_back(pMsg->message);
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    BOOL OnInitDialog() override {
        if (onInit) onInit(*this);
        return TRUE;
    }
    bool OnCommand(int nId, int, HWND) override { return onCommand && onCommand(nId); }
    bool OnMessage(UINT nMsg, WPARAM, LPARAM, LRESULT&) override {
        if (nMsg == WM_USER + 5) return ++m_nUserMessages, true;
        return false;
    }
    void PostNcDestroy() override {
        if (m_bDeleteSelf) delete this;
    }
};

bool Contains(const std::vector<UINT>& messages, UINT nMsg) {
    for (UINT n : messages)
        if (n == nMsg) return true;
    return false;
}

}  // namespace

TEST(Dialog, DoModalReturnsWhatEndDialogWasGivenAndDestroysTheWindow) {
    CProbeDialog dlg;
    HWND hSeen = nullptr;
    dlg.onInit = [&](CProbeDialog& d) {
        hSeen = d.m_hWnd;
        d.PostMessage(WM_COMMAND, MAKEWPARAM(1234, 0), 0);
    };
    dlg.onCommand = [&](int nId) {
        if (nId != 1234) return false;
        dlg.EndDialog(77);
        return true;
    };
    EXPECT_EQ(dlg.DoModal(), 77);
    ASSERT_NE(hSeen, nullptr);
    EXPECT_FALSE(::IsWindow(hSeen));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(hSeen), nullptr);
}

TEST(Dialog, OkCancelAndCloseEndAModalDialogAsTheSystemDialogsDo) {
    struct Case {
        UINT nMsg;
        WPARAM wParam;
        INT_PTR nExpected;
    };
    const Case cases[] = {
        {WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), IDOK},
        {WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), IDCANCEL},
        {WM_CLOSE, 0, IDCANCEL},
    };
    for (const Case& c : cases) {
        CProbeDialog dlg;
        dlg.onInit = [&](CProbeDialog& d) { d.PostMessage(c.nMsg, c.wParam, 0); };
        EXPECT_EQ(dlg.DoModal(), c.nExpected) << "message " << c.nMsg;
    }
}

TEST(Dialog, ModelessWindowsKeepTheirPreTranslateWhileAModalDialogRuns) {
    CProbeDialog modeless;
    ASSERT_TRUE(modeless.Create());
    HWND hEdit = modeless.GetDlgItem(IDC_TEST_EDIT);
    CProbeDialog modal;
    modal.onInit = [&](CProbeDialog& d) {
        ::PostMessageA(hEdit, WM_KEYDOWN, 'A', 0);
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    EXPECT_EQ(modal.DoModal(), IDOK);
    EXPECT_TRUE(Contains(modeless.m_preTranslated, WM_KEYDOWN));
    modeless.DestroyWindow();
}

TEST(Dialog, MessagesForAnOwnedWindowAreOfferedToItsOwnerToo) {
    CProbeDialog owner;
    ASSERT_TRUE(owner.Create());
    CProbeDialog owned(&owner);
    ASSERT_TRUE(owned.Create());
    EXPECT_EQ(::GetParent(owned.m_hWnd), owner.m_hWnd);
    CProbeDialog modal;
    modal.onInit = [&](CProbeDialog& d) {
        ::PostMessageA(owned.GetDlgItem(IDC_TEST_EDIT), WM_USER + 7, 0, 0);
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    modal.DoModal();
    EXPECT_TRUE(Contains(owned.m_preTranslated, WM_USER + 7));
    EXPECT_TRUE(Contains(owner.m_preTranslated, WM_USER + 7));
    owned.DestroyWindow();
    owner.DestroyWindow();
}

TEST(Dialog, AModelessObjectCanDeleteItselfWhenItsWindowIsDestroyed) {
    bool bDeleted = false;
    auto* pDlg = new CProbeDialog;
    pDlg->m_bDeleteSelf = true;
    pDlg->m_pbDeleted = &bDeleted;
    ASSERT_TRUE(pDlg->Create());
    HWND hWnd = pDlg->m_hWnd;
    ::DestroyWindow(hWnd);
    EXPECT_TRUE(bDeleted);
}

TEST(Dialog, HandlersSeeTheirOwnMessagesAndAnExceptionNeverLeavesTheDialogProcedure) {
    CProbeDialog dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.SendMessage(WM_USER + 5);
    dlg.SendMessage(WM_USER + 5);
    EXPECT_EQ(dlg.m_nUserMessages, 2);
    dlg.onCommand = [](int) -> bool { throw std::runtime_error("handler failed"); };
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(4321, 0), 0);  // must not crash the test program
    dlg.SendMessage(WM_USER + 5);
    EXPECT_EQ(dlg.m_nUserMessages, 3);
    dlg.DestroyWindow();
}

TEST(Dialog, StaticsAndTheDialogTakeTheApplicationsColours) {
    CWinApp* pApp = CWinApp::Get();
    ASSERT_NE(pApp, nullptr);
    pApp->SetDialogBkColor(RGB(240, 245, 250), RGB(10, 10, 10));
    CProbeDialog dlg;
    ASSERT_TRUE(dlg.Create());
    HDC hDC = ::GetDC(dlg.m_hWnd);
    const LRESULT brush = dlg.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                          reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_TEST_LABEL)));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), pApp->DialogBrush());
    EXPECT_EQ(::GetTextColor(hDC), RGB(10, 10, 10));
    EXPECT_EQ(::GetBkColor(hDC), RGB(240, 245, 250));
    // Edit controls keep the system's colours.
    EXPECT_NE(reinterpret_cast<HBRUSH>(dlg.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC),
                                                       reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_TEST_EDIT)))),
              pApp->DialogBrush());
    ::ReleaseDC(dlg.m_hWnd, hDC);
    dlg.DestroyWindow();
}

namespace {
std::string g_strBoxCaption;
void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR nId, DWORD) {
    HWND hBox = ::FindWindowA("#32770", nullptr);
    if (!hBox) return;
    char szCaption[128] = {};
    ::GetWindowTextA(hBox, szCaption, sizeof szCaption);
    g_strBoxCaption = szCaption;
    ::KillTimer(nullptr, nId);
    ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}
}  // namespace

TEST(AppMessageBox, TheCaptionIsTheExecutablesBaseName) {
    EXPECT_EQ(CWinApp::Get()->ExeName(), "win_tests");
    g_strBoxCaption.clear();
    ::SetTimer(nullptr, 0, 100, CloseMessageBox);
    EXPECT_EQ(AppMessageBox("Application already running!"), IDOK);
    EXPECT_EQ(g_strBoxCaption, "win_tests");
}

TEST(DataExchange, ValuesRoundTripThroughTheControls) {
    CProbeDialog dlg;
    ASSERT_TRUE(dlg.Create());
    HWND h = dlg.m_hWnd;
    for (const char* pszItem : {"30", "40", "50"})
        ::SendDlgItemMessageA(h, IDC_TEST_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));

    std::string strName = "kid";
    int nNumber = 42, nCheck = 1, nIndex = 2;
    DDX_Text(h, IDC_TEST_EDIT, strName, false);
    DDX_Check(h, IDC_TEST_CHECK, nCheck, false);
    DDX_CBIndex(h, IDC_TEST_COMBO, nIndex, false);
    std::string strRead;
    int nCheckRead = 0, nIndexRead = -5;
    DDX_Text(h, IDC_TEST_EDIT, strRead, true);
    DDX_Check(h, IDC_TEST_CHECK, nCheckRead, true);
    DDX_CBIndex(h, IDC_TEST_COMBO, nIndexRead, true);
    EXPECT_EQ(strRead, "kid");
    EXPECT_EQ(nCheckRead, 1);
    EXPECT_EQ(nIndexRead, 2);

    DDX_Text(h, IDC_TEST_EDIT, nNumber, false);
    int nNumberRead = 0;
    DDX_Text(h, IDC_TEST_EDIT, nNumberRead, true);
    EXPECT_EQ(nNumberRead, 42);

    DDV_MaxChars(h, IDC_TEST_EDIT, 4);
    ::SetFocus(dlg.GetDlgItem(IDC_TEST_EDIT));
    ::SetDlgItemTextA(h, IDC_TEST_EDIT, "");
    for (char c : std::string("abcdef")) ::SendDlgItemMessageA(h, IDC_TEST_EDIT, WM_CHAR, c, 0);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_TEST_EDIT), "abcd");
    dlg.DestroyWindow();
}
