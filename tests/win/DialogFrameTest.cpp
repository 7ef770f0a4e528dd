// The custom dialog frame (band painting, dragging, the close button) and the two small dialogs
// built on it: the power actions with a failing system, and the About box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "core/texts/MsgText.h"
#include "LookTestSupport.h"
#include "resources/resource.h"
#include "support/FakeSystemActions.h"
#include "support/ScreenCapture.h"
#include "win/controls/DialogFrame.h"
#include "win/framework/WinApp.h"
#include "win/windows/AboutDlg.h"
#include "win/windows/PowerDlg.h"

namespace {

// A 440 × 86 band whose every pixel tells where it came from: red and green hold x, blue holds y.
HBITMAP MakeCodedBand() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 440;
    info.bmiHeader.biHeight = -86;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    auto* pPixels = static_cast<DWORD*>(pBits);
    for (int y = 0; y < 86; ++y)
        for (int x = 0; x < 440; ++x) pPixels[y * 440 + x] = (static_cast<DWORD>(x & 0xFF) << 16) | ((x >> 8) << 8) | y;
    return hBitmap;
}

int SourceX(COLORREF cr) { return GetRValue(cr) | (GetGValue(cr) << 8); }

HWND MakePopup(int nWidth) {
    return ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, nWidth, 60, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

LRESULT HitTestAt(HWND hWnd, int dx, int dy) {
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return ::SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(rc.left + dx, rc.top + dy));
}

// A framed dialog that may refuse to be closed from the system menu, and ends with a message.
class CTestFramedDialog : public CAboutDlg {
public:
    bool m_bRefuseClose = false;
    std::vector<UINT> m_posted;  // what OnInitDialog posts to the dialog, as (message, wParam) pairs
    std::vector<WPARAM> m_postedParams;

protected:
    BOOL OnInitDialog() override {
        CAboutDlg::OnInitDialog();
        for (size_t i = 0; i < m_posted.size(); ++i) PostMessage(m_posted[i], m_postedParams[i], 0);
        return TRUE;
    }
    bool OnSysCommand(UINT nId, LPARAM) override { return m_bRefuseClose && (nId & 0xFFF0) == SC_CLOSE; }
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {
        if (nMsg == WM_USER + 50) return EndDialog(55), true;
        return CAboutDlg::OnMessage(nMsg, wParam, lParam, lResult);
    }
};

// A power dialog whose OnInitDialog posts button clicks.
class CTestPowerDlg : public CPowerDlg {
public:
    std::vector<int> m_clicks;

protected:
    BOOL OnInitDialog() override {
        CPowerDlg::OnInitDialog();
        for (int nId : m_clicks) PostMessage(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(nId)));
        return TRUE;
    }
};

}  // namespace

TEST(TitleBand, ANarrowWindowTakesTheRightPartOfTheBandAndAWideOneStretchesAllOfIt) {
    HBITMAP hBand = MakeCodedBand();
    struct Case {
        int nWidth;
        int nDestX;
        int nSourceX;  // expected, within one pixel for the stretched case
    };
    const Case cases[] = {
        {300, 0, 140}, {300, 150, 290}, {300, 299, 439}, {440, 0, 0},   {440, 439, 439},
        {600, 0, 0},   {600, 300, 220}, {600, 599, 439}, {880, 2, 1}, {880, 879, 439},
    };
    for (const Case& c : cases) {
        HWND hWnd = MakePopup(c.nWidth);
        CCanvas canvas(c.nWidth, 60);
        DrawTitleBand(canvas.DC(), hWnd, hBand);
        EXPECT_NEAR(SourceX(canvas.Pixel(c.nDestX, 0)), c.nSourceX, 1) << "width " << c.nWidth << " x " << c.nDestX;
        // Only the bitmap's top 28 rows are used, one for one.
        EXPECT_EQ(GetBValue(canvas.Pixel(c.nDestX, 27)), 27) << "width " << c.nWidth;
        EXPECT_EQ(canvas.Pixel(c.nDestX, 28), kDialogBkColor) << "width " << c.nWidth;
        EXPECT_EQ(canvas.Pixel(c.nDestX, 59), kDialogBkColor) << "width " << c.nWidth;
        ::DestroyWindow(hWnd);
    }
    ::DeleteObject(hBand);
}

TEST(TitleBand, TheTop28PixelsDragTheDialogAndNothingBelowOrBesideThem) {
    CAboutDlg dlg;
    ASSERT_TRUE(dlg.Create());
    RECT rcClient;
    ::GetClientRect(dlg.m_hWnd, &rcClient);
    EXPECT_EQ(HitTestAt(dlg.m_hWnd, 10, 0), HTCAPTION);
    EXPECT_EQ(HitTestAt(dlg.m_hWnd, 10, 27), HTCAPTION);
    EXPECT_NE(HitTestAt(dlg.m_hWnd, 10, 28), HTCAPTION);
    EXPECT_NE(HitTestAt(dlg.m_hWnd, 10, 60), HTCAPTION);
    EXPECT_EQ(HitTestAt(dlg.m_hWnd, rcClient.right - 1, 5), HTCAPTION);
    EXPECT_NE(HitTestAt(dlg.m_hWnd, rcClient.right, 5), HTCAPTION);
    EXPECT_NE(HitTestAt(dlg.m_hWnd, -1, 5), HTCAPTION);

    RECT rcWindow;
    ::GetWindowRect(dlg.m_hWnd, &rcWindow);
    EXPECT_TRUE(HitTestTitleBand(rcWindow.left + 3, rcWindow.top + 27, dlg.m_hWnd));
    EXPECT_FALSE(HitTestTitleBand(rcWindow.left + 3, rcWindow.top + 28, dlg.m_hWnd));
    dlg.DestroyWindow();
}

TEST(TitleBand, ABandCountedFromTheClientAreaStartsBelowTheBorderAndTakesItsOwnHeight) {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_BORDER, 40, 50, 200, 120, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
    POINT pt{0, 0};
    ::ClientToScreen(hWnd, &pt);
    RECT rcWindow, rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    ASSERT_GT(pt.y, rcWindow.top) << "the border lies above the client area";
    const auto InBand = [&](int dx, int dy) {
        return HitTestTitleBand(pt.x + dx, pt.y + dy, hWnd, 82, BandOrigin::Client);
    };
    EXPECT_TRUE(InBand(0, 0));
    EXPECT_TRUE(InBand(rcClient.right - 1, 81));
    EXPECT_FALSE(InBand(0, 82));
    EXPECT_FALSE(InBand(0, -1)) << "the top border";
    EXPECT_FALSE(InBand(-1, 5)) << "the left border";
    EXPECT_FALSE(InBand(rcClient.right, 5)) << "the right border";
    // Counted from the window, the border row is the band's first and the band ends a row higher.
    EXPECT_TRUE(HitTestTitleBand(pt.x, pt.y - 1, hWnd, 82));
    EXPECT_FALSE(HitTestTitleBand(pt.x, rcWindow.top + 82, hWnd, 82));
    ::DestroyWindow(hWnd);
}

TEST(TitleBand, TheCloseButtonClosesThroughTheSystemMenuSoADialogThatRefusesStaysOpen) {
    const int nClose = IDC_TITLE_CLOSE;
    {
        CTestFramedDialog dlg;
        dlg.m_posted = {WM_COMMAND};
        dlg.m_postedParams = {MAKEWPARAM(nClose, BN_CLICKED)};
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    {
        CTestFramedDialog dlg;
        dlg.m_bRefuseClose = true;
        dlg.m_posted = {WM_COMMAND, WM_USER + 50};
        dlg.m_postedParams = {MAKEWPARAM(nClose, BN_CLICKED), 0};
        EXPECT_EQ(dlg.DoModal(), 55);
    }
    {
        CTestFramedDialog dlg;  // the About box's own button 1
        dlg.m_posted = {WM_COMMAND};
        dlg.m_postedParams = {MAKEWPARAM(IDOK, BN_CLICKED)};
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
}

TEST(AboutBox, ShowsTheNameVersionNoticeAndLink) {
    CAboutDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.GetDlgItemText(IDC_TITLE), "About Quenby");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ABOUT_VERSION), "Quenby 1.0");
    EXPECT_NE(dlg.GetDlgItemText(IDC_ABOUT_NOTICE).find("Copyright (C) 2026 The Quenby developers"), std::string::npos);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ABOUT_LINK), CAboutDlg::kWebAddress);
    EXPECT_TRUE(dynamic_cast<CLinkLabel*>(CWnd::FromHandle(dlg.GetDlgItem(IDC_ABOUT_LINK))));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_TITLE_CLOSE), "");
    for (int nId : {IDOK, IDC_TITLE_CLOSE})
        EXPECT_EQ(::GetWindowLongPtrA(dlg.GetDlgItem(nId), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << nId;
    dlg.DestroyWindow();
}

TEST(PowerDialog, EveryFailingStepIsReportedInOrderAndTheDialogStaysOpen) {
    struct Case {
        const char* pszName;
        int nButton;
        bool bToken, bPrivilege, bExit;
        std::vector<std::string> calls;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"restart, all failing", IDC_POWER_RESTART, false, false, false,
         {"open token", "adjust privilege", "exit 2"},
         {"OpenProcessToken Error.", "AdjustTokenPrivileges Error.", "ExitWindowsEx Error."}},
        {"turn off without the right", IDC_POWER_TURN_OFF, true, false, false,
         {"open token", "adjust privilege", "exit 1"},
         {"AdjustTokenPrivileges Error.", "ExitWindowsEx Error."}},
        {"turn off", IDC_POWER_TURN_OFF, true, true, true, {"open token", "adjust privilege", "exit 1"}, {}},
    };
    for (const Case& c : cases) {
        CFakeSystemActions system;
        system.m_bTokenOpens = c.bToken;
        system.m_bPrivilegeAdjusts = c.bPrivilege;
        system.m_bSystemExits = c.bExit;
        CPowerDlg dlg;
        ASSERT_TRUE(dlg.Create());
        dlg.ShowWindow(SW_SHOW);
        CMessageBoxCloser closer;
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(c.nButton, BN_CLICKED), reinterpret_cast<LPARAM>(dlg.GetDlgItem(c.nButton)));
        EXPECT_EQ(system.m_calls, c.calls) << c.pszName;
        EXPECT_EQ(closer.m_texts, c.texts) << c.pszName;
        for (const std::string& strCaption : closer.m_captions) EXPECT_EQ(strCaption, "win_tests") << c.pszName;
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd) && dlg.IsWindowVisible()) << c.pszName;
        dlg.DestroyWindow();
    }
}

TEST(PowerDialog, CancelAndTheCloseButtonCloseWithoutAnyAction) {
    for (int nButton : {IDOK, IDC_TITLE_CLOSE}) {
        CFakeSystemActions system;
        CTestPowerDlg dlg;
        dlg.m_clicks = {nButton};
        dlg.DoModal();
        EXPECT_TRUE(system.m_calls.empty()) << nButton;
    }
}

TEST(PowerDialog, TextsComeFromTheTextTable) {
    CPowerDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.GetDlgItemText(IDC_TITLE), GetMsgText(376));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_POWER_TURN_OFF), "Turn off computer");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_POWER_RESTART), "Restart computer");
    EXPECT_EQ(dlg.GetDlgItemText(IDOK), "Cancel");
    dlg.DestroyWindow();
}


// Pictures of the dialogs for a person to look at; runs only when QUENBY_SHOTS names a folder.
TEST(LookShots, AboutAndPowerDialogs) {
    const std::string strFolder = ScreenshotFolder();
    if (strFolder.empty()) GTEST_SKIP() << "QUENBY_SHOTS not set";
    CWinApp::Get()->SetDialogBkColor(kDialogBkColor, RGB(10, 10, 10));
    CAboutDlg about;
    ASSERT_TRUE(about.Create());
    about.ShowWindow(SW_SHOW);
    SaveWindowShot(about.m_hWnd, strFolder + "about.bmp");
    about.DestroyWindow();
    CPowerDlg power;
    ASSERT_TRUE(power.Create());
    power.ShowWindow(SW_SHOW);
    SaveWindowShot(power.m_hWnd, strFolder + "power.bmp");
    // Hovering the restart button and focusing the turn-off one.
    ::SetFocus(power.GetDlgItem(IDC_POWER_TURN_OFF));
    HWND hRestart = power.GetDlgItem(IDC_POWER_RESTART);
    ::SendMessageA(hRestart, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    SaveWindowShot(power.m_hWnd, strFolder + "power-hover.bmp");
    power.DestroyWindow();
}
