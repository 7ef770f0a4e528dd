// The label with its own font and colours, the flat combo box's frame and the hyperlink: its
// attachment, hover, and opening the address, with the failures explained.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "LookTestSupport.h"
#include "support/FakeSystemActions.h"
#include "win/controls/FlatCombo.h"
#include "win/controls/LinkLabel.h"
#include "win/controls/TransLabel.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kWhite = RGB(255, 255, 255);

struct CLabelFixture : ::testing::Test {
    void SetUp() override {
        ::SetDlgItemTextA(m_host.m_hWnd, IDC_TEST_LABEL, "WWW");
        ::SetWindowPos(m_host.GetDlgItem(IDC_TEST_LABEL), nullptr, 0, 0, 80, 30, SWP_NOMOVE | SWP_NOZORDER);
    }
    CHostDialog m_host;
};

using TransLabel = CLabelFixture;
using LinkLabel = CLabelFixture;

}  // namespace

TEST_F(TransLabel, FillsItsBackgroundOnlyWithoutTheTransparentFlag) {
    CTransLabel label;
    ASSERT_TRUE(label.SubclassDlgItem(IDC_TEST_LABEL, &m_host));
    ASSERT_TRUE(label.SetFont(-24, FW_BOLD));
    label.SetTextColor(RGB(0, 0, 200));
    label.SetBkColor(RGB(0, 120, 0));

    CCanvas canvas(80, 30, kRed);
    label.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT);
    EXPECT_EQ(canvas.Pixel(79, 29), kRed) << "transparent at construction";
    EXPECT_GT(canvas.Count(RGB(0, 0, 200)), 20);

    label.SetTransparent(FALSE);
    label.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT);
    EXPECT_EQ(canvas.Count(kRed), 0);
    EXPECT_EQ(canvas.Pixel(79, 29), RGB(0, 120, 0));
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 120, 0));
    EXPECT_GT(canvas.Count(RGB(0, 0, 200)), 20);

    // Asked for its colours, it answers with its text colour over nothing.
    HDC hDC = ::GetDC(m_host.m_hWnd);
    const LRESULT brush = m_host.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                             reinterpret_cast<LPARAM>(label.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(::GetTextColor(hDC), RGB(0, 0, 200));
    EXPECT_EQ(::GetBkMode(hDC), TRANSPARENT);
    ::ReleaseDC(m_host.m_hWnd, hDC);
    label.UnsubclassWindow();
}

TEST(FlatCombo, DrawsGreyAndWhiteFrameLinesOverTheEdgesAndTheDropDownButton) {
    CFlatCombo combo;
    const int W = 120, H = 24;
    CCanvas canvas(W, H, kRed);
    combo.DrawFrame(canvas.DC(), W, H, POINT{0, 0}, W, H);
    struct Case {
        const char* pszWhere;
        int x, y;
        COLORREF cr;
    };
    const Case cases[] = {
        {"top edge", 50, 0, kGrey},          {"left edge", 0, 12, kGrey},
        {"second-last row", 50, H - 2, kGrey}, {"second-last column", W - 2, 12, kGrey},
        {"bottom edge", 50, H - 1, kWhite},  {"right edge", W - 1, 12, kWhite},
        {"row 1", 50, 1, kWhite},            {"column 1", 1, 12, kWhite},
        {"button top", W - 10, 2, kGrey},    {"button left", W - 18, 12, kGrey},
        {"button bottom", W - 10, H - 4, kGrey}, {"button right", W - 4, 12, kGrey},
        {"button bottom light", W - 10, H - 3, kWhite}, {"button right light", W - 3, 12, kWhite},
        {"button top light", W - 10, 3, kWhite}, {"button left light", W - 17, 12, kWhite},
        {"text area", 40, 12, kRed},
    };
    for (const Case& c : cases) EXPECT_EQ(canvas.Pixel(c.x, c.y), c.cr) << c.pszWhere;
}

TEST(LinkLabelTexts, TheRegisteredCommandLosesItsPlaceholderAndTakesTheAddress) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\web\\browse.exe\" \"%1\"", "\"C:\\web\\browse.exe\"  http://a.b"},
        {"C:\\web\\browse.exe -nohome %1 -x", "C:\\web\\browse.exe -nohome  http://a.b"},
        {"C:\\web\\browse.exe %1 \"%1\"", "C:\\web\\browse.exe %1  http://a.b"},
        {"C:\\web\\browse.exe", "C:\\web\\browse.exe http://a.b"},
    };
    for (const auto& [pszCommand, pszExpected] : cases)
        EXPECT_EQ(CLinkLabel::CommandForAddress(pszCommand, "http://a.b"), pszExpected) << pszCommand;
}

TEST_F(LinkLabel, AttachingTakesTheTextAsAddressNotifiesClicksAndFitsTheText) {
    RECT rcBefore;
    HWND hStatic = m_host.GetDlgItem(IDC_TEST_LABEL);
    ::SetWindowTextA(hStatic, "https://quenby.example.org");
    ::GetWindowRect(hStatic, &rcBefore);
    CLinkLabel link;
    ASSERT_TRUE(link.SubclassWindow(hStatic));
    EXPECT_EQ(link.GetURL(), "https://quenby.example.org");
    EXPECT_TRUE(::GetWindowLongPtrA(hStatic, GWL_STYLE) & SS_NOTIFY);
    ASSERT_NE(link.GetToolTip(), nullptr);
    EXPECT_EQ(::SendMessageA(link.GetToolTip(), TTM_GETTOOLCOUNT, 0, 0), 1);
    RECT rcAfter;
    ::GetWindowRect(hStatic, &rcAfter);
    EXPECT_EQ(rcAfter.left, rcBefore.left);  // a left-aligned static keeps its left edge
    EXPECT_GT(rcAfter.right - rcAfter.left, 80) << "as wide as its text";
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(link.SendMessage(WM_GETFONT)), sizeof font, &font);
    EXPECT_TRUE(font.lfUnderline);
    link.UnsubclassWindow();

    // An empty text takes the address.
    CLinkLabel other;
    ::SetWindowTextA(hStatic, "");
    other.SetURL("http://x.y");
    ASSERT_TRUE(other.SubclassWindow(hStatic));
    EXPECT_EQ(other.GetWindowText(), "http://x.y");
    other.UnsubclassWindow();
}

TEST_F(LinkLabel, TheColourFollowsHoverAndVisits) {
    CFakeSystemActions system;
    system.m_nShellOpen = 42;
    CLinkLabel link;
    link.SetURL("https://quenby.example.org");
    ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_LABEL, &m_host));
    auto ColourAsked = [&] {
        HDC hDC = ::GetDC(m_host.m_hWnd);
        const LRESULT brush = m_host.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                                 reinterpret_cast<LPARAM>(link.m_hWnd));
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(NULL_BRUSH));
        EXPECT_EQ(::GetBkMode(hDC), TRANSPARENT);
        const COLORREF cr = ::GetTextColor(hDC);
        ::ReleaseDC(m_host.m_hWnd, hDC);
        return cr;
    };
    EXPECT_EQ(ColourAsked(), RGB(0, 0, 238));
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(link.IsHovered());
    EXPECT_EQ(::GetCapture(), link.m_hWnd);
    EXPECT_EQ(ColourAsked(), ::GetSysColor(COLOR_HIGHLIGHT));
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(link.IsHovered());
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(-5, 2));
    EXPECT_FALSE(link.IsHovered());
    EXPECT_NE(::GetCapture(), link.m_hWnd);

    // A click through the dialog opens the address and marks the link visited.
    m_host.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST_LABEL, STN_CLICKED), reinterpret_cast<LPARAM>(link.m_hWnd));
    EXPECT_EQ(system.m_calls, std::vector<std::string>{"shell open https://quenby.example.org"});
    EXPECT_TRUE(link.IsVisited());
    EXPECT_EQ(ColourAsked(), RGB(85, 26, 139));
    for (const auto& command : m_host.m_commands)
        EXPECT_NE(command.first, IDC_TEST_LABEL) << "the link handles its clicks itself";
    link.UnsubclassWindow();
}

TEST_F(LinkLabel, WhenTheShellFailsTheWebPageProgramRunsAndItsFailureIsExplained) {
    CFakeSystemActions system;
    system.m_strWebPageCommand = "\"C:\\web\\browse.exe\" -new \"%1\"";
    system.m_nShellOpen = 2;
    system.m_nRunCommandLine = 2;
    CLinkLabel link;
    link.SetURL("https://quenby.example.org");
    ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_LABEL, &m_host));
    {
        CMessageBoxCloser closer;
        link.OpenLink();
        ASSERT_EQ(closer.m_texts.size(), 1u);
        EXPECT_EQ(closer.m_texts[0], "Unable to open hyperlink:\n\nThe specified file was not found.");
    }
    EXPECT_FALSE(link.IsVisited());
    const std::vector<std::string> expected{"shell open https://quenby.example.org",
                                            "run \"C:\\web\\browse.exe\" -new  https://quenby.example.org"};
    EXPECT_EQ(system.m_calls, expected);

    // The registered program starting counts as success.
    system.m_nRunCommandLine = 33;
    link.OpenLink();
    EXPECT_TRUE(link.IsVisited());
    link.UnsubclassWindow();
}

TEST_F(LinkLabel, WithoutAWebPageProgramTheShellsCodeIsExplainedAndAnUnknownCodeNamed) {
    CFakeSystemActions system;
    CLinkLabel link;
    link.SetURL("https://quenby.example.org");
    ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_LABEL, &m_host));
    const std::pair<int, const char*> cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {1, "Unknown Error (1) occurred."},
        {-7, "Unknown Error (-7) occurred."},
    };
    for (const auto& [nCode, pszReason] : cases) {
        system.m_nShellOpen = nCode;
        system.m_calls.clear();
        CMessageBoxCloser closer;
        link.OpenLink();
        ASSERT_EQ(closer.m_texts.size(), 1u) << nCode;
        // A message box shows the text with its line breaks as they are.
        EXPECT_EQ(closer.m_texts[0], std::string("Unable to open hyperlink:\n\n") + pszReason) << nCode;
        EXPECT_EQ(system.m_calls, std::vector<std::string>{"shell open https://quenby.example.org"}) << nCode;
        EXPECT_FALSE(link.IsVisited()) << nCode;
    }
    link.UnsubclassWindow();
}
