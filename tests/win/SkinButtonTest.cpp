// The owner-drawn picture button: what each state paints, pictures through their transparent
// colour, the colour arithmetic, refused settings and the button's life as a dialog's push button.
#include <gtest/gtest.h>

#include "LookTestSupport.h"
#include "resources/resource.h"
#include "win/controls/SkinButton.h"

namespace {

const int kWidth = 100, kHeight = 40;
const COLORREF kSlots[6] = {RGB(200, 30, 30),  RGB(255, 255, 0), RGB(30, 200, 30),
                            RGB(0, 0, 160),    RGB(30, 30, 200), RGB(250, 250, 250)};

// A skin button on the host's OK button, sized and given a large crisp font so that its text
// shows pixels of exactly the text colour.
class SkinButton : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_button.SubclassDlgItem(IDOK, &m_host));
        // On top of the other controls of the host, so that the mouse finds it.
        ::SetWindowPos(m_button.m_hWnd, HWND_TOP, 4, 4, kWidth, kHeight, 0);
        m_hFont = ::CreateFontA(-22, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                                "Tahoma");
        m_button.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
        m_button.SetWindowText("MW");
        for (int nSlot = 0; nSlot < 6; ++nSlot) m_button.SetColor(nSlot, kSlots[nSlot]);
    }
    void TearDown() override {
        m_button.UnsubclassWindow();
        ::DeleteObject(m_hFont);
    }

    // Draws through the host, as the system asks for it: the host hands WM_DRAWITEM to the button.
    void Draw(CCanvas& canvas, UINT nState) {
        DRAWITEMSTRUCT draw{ODT_BUTTON, IDOK, 0, ODA_DRAWENTIRE, nState, m_button.m_hWnd, canvas.DC(),
                            RECT{0, 0, kWidth, kHeight}, 0};
        EXPECT_EQ(m_host.SendMessage(WM_DRAWITEM, IDOK, reinterpret_cast<LPARAM>(&draw)), TRUE);
    }
    void MoveMouseOverButton() { m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(kWidth / 2, kHeight / 2)); }

    CHostDialog m_host;
    CSkinButton m_button;
    HFONT m_hFont = nullptr;
};

// Where the centred 16 × 15 close picture lands in a kWidth × kHeight button.
const int kPicX = 3 + (kWidth - 6 - 16) / 2, kPicY = 3 + (kHeight - 6 - 15) / 2;
const COLORREF kCloseGlyph = RGB(58, 151, 187);  // pixel (6, 3) of the close picture

}  // namespace

TEST_F(SkinButton, EachStatePaintsItsOwnBackgroundAndTextColours) {
    struct Case {
        const char* pszState;
        UINT nState;
        bool bHover;
        int nBackSlot, nTextSlot;
    };
    const Case cases[] = {
        {"normal", 0, false, 2, 3},
        {"focused", ODS_FOCUS, false, 4, 5},
        {"pressed", ODS_SELECTED | ODS_FOCUS, false, 0, 1},
        {"hovered", 0, true, 0, 1},
        {"hovered and focused", ODS_FOCUS, true, 0, 1},
    };
    for (const Case& c : cases) {
        if (c.bHover) MoveMouseOverButton();
        ASSERT_EQ(m_button.IsHovered(), c.bHover) << c.pszState;
        CCanvas canvas(kWidth, kHeight);
        Draw(canvas, c.nState);
        EXPECT_EQ(canvas.Pixel(6, 6), kSlots[c.nBackSlot]) << c.pszState;
        EXPECT_GT(canvas.Count(kSlots[c.nTextSlot]), 20) << c.pszState;
        for (int nOther : {1, 3, 5}) {
            if (nOther == c.nTextSlot) continue;
            EXPECT_EQ(canvas.Count(kSlots[nOther]), 0) << c.pszState << " slot " << nOther;
        }
        m_button.SendMessage(WM_MOUSELEAVE);
        EXPECT_FALSE(m_button.IsHovered()) << c.pszState;
    }
}

TEST_F(SkinButton, ADisabledButtonEmbossesItsTextInTheSystemColours) {
    CCanvas canvas(kWidth, kHeight);
    Draw(canvas, ODS_DISABLED);
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_3DHILIGHT)), 20);
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_3DSHADOW)), 20);
    EXPECT_EQ(canvas.Count(kSlots[3]), 0);
}

TEST_F(SkinButton, HoverEndsWithTheFocusOrWhenDisabledAndAButtonThatIsNotFlatIgnoresTheMouse) {
    for (UINT nMsg : {WM_KILLFOCUS, WM_CANCELMODE, WM_ENABLE}) {
        MoveMouseOverButton();
        ASSERT_TRUE(m_button.IsHovered());
        m_button.SendMessage(nMsg);
        EXPECT_FALSE(m_button.IsHovered()) << nMsg;
    }
    m_button.SetFlat(FALSE);
    MoveMouseOverButton();
    EXPECT_FALSE(m_button.IsHovered());
    // Not flat: a default button gets the black frame and the three-dimensional edge inside it.
    CCanvas canvas(kWidth, kHeight);
    Draw(canvas, 0);
    EXPECT_EQ(canvas.Pixel(0, kHeight / 2), RGB(0, 0, 0));
    EXPECT_EQ(canvas.Pixel(6, 6), kSlots[2]);
}

TEST_F(SkinButton, PicturesShowTheBackgroundThroughTheirTransparentColour) {
    m_button.SetWindowText("");
    ASSERT_TRUE(m_button.SetBitmaps(IDB_TITLE_CLOSE, RGB(255, 255, 255)));
    ASSERT_TRUE(m_button.SetAlign(CSkinButton::ALIGN_OVERLAP));
    CCanvas canvas(kWidth, kHeight);
    Draw(canvas, 0);
    EXPECT_EQ(canvas.Pixel(kPicX, kPicY), kSlots[2]) << "the white corner of the picture";
    EXPECT_EQ(canvas.Pixel(kPicX + 6, kPicY + 3), kCloseGlyph);
    EXPECT_EQ(canvas.Count(RGB(255, 255, 255)), 0);

    // Pressed, picture and text move by (1, 1), or by (0, 2) in the other style.
    Draw(canvas, ODS_SELECTED);
    EXPECT_EQ(canvas.Pixel(kPicX + 7, kPicY + 4), kCloseGlyph);
    ASSERT_TRUE(m_button.SetPressedStyle(CSkinButton::PRESSED_TOPBOTTOM));
    Draw(canvas, ODS_SELECTED);
    EXPECT_EQ(canvas.Pixel(kPicX + 6, kPicY + 5), kCloseGlyph);
}

TEST_F(SkinButton, TheSecondPictureShowsInTheNormalStateTheFirstWhenHoveredAndTheThirdWhenDisabled) {
    m_button.SetWindowText("");
    m_button.SetAlign(CSkinButton::ALIGN_OVERLAP);
    ASSERT_TRUE(m_button.SetBitmaps(IDB_TURN_OFF, RGB(255, 255, 255), IDB_RESTART, RGB(255, 255, 255),
                                    IDB_TITLE_CLOSE, RGB(255, 255, 255)));
    const int x = 3 + (kWidth - 6 - 32) / 2 + 16, y = 3 + (kHeight - 6 - 32) / 2 + 2;  // on the badge's rim
    const COLORREF crRed = RGB(206, 64, 54);  // the turn-off badge
    CCanvas canvas(kWidth, kHeight);
    Draw(canvas, 0);
    const COLORREF crNormal = canvas.Pixel(x, y);
    MoveMouseOverButton();
    Draw(canvas, 0);
    EXPECT_EQ(canvas.Pixel(x, y), crRed);
    EXPECT_NE(crNormal, crRed);
    EXPECT_NE(crNormal, kSlots[2]);
    m_button.SendMessage(WM_MOUSELEAVE);
    Draw(canvas, ODS_DISABLED);
    EXPECT_EQ(canvas.Pixel(kPicX + 6, kPicY + 3), kCloseGlyph);

    // Only one picture: it shows in every state.
    ASSERT_TRUE(m_button.SetBitmaps(IDB_TURN_OFF, RGB(255, 255, 255)));
    for (UINT nState : {0u, static_cast<UINT>(ODS_SELECTED), static_cast<UINT>(ODS_DISABLED)}) {
        Draw(canvas, nState);
        const int dx = nState == ODS_SELECTED ? 1 : 0;
        EXPECT_EQ(canvas.Pixel(x + dx, y + dx), crRed) << "state " << nState;
    }
}

TEST_F(SkinButton, PictureAndTextTakeTheirPlacesByAlignment) {
    ASSERT_TRUE(m_button.SetBitmaps(IDB_TURN_OFF, RGB(255, 255, 255)));
    const COLORREF crRed = RGB(206, 64, 54);
    struct Case {
        int nAlign;
        RECT rcPicture;  // where red must be found
        RECT rcText;     // where the text colour must be found, and nowhere else
    };
    const Case cases[] = {
        {CSkinButton::ALIGN_HORIZ, {0, 0, 40, kHeight}, {40, 0, kWidth, kHeight}},
        {CSkinButton::ALIGN_HORIZ_RIGHT, {kWidth - 40, 0, kWidth, kHeight}, {0, 0, kWidth - 40, kHeight}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(m_button.SetAlign(c.nAlign));
        CCanvas canvas(kWidth, kHeight);
        Draw(canvas, 0);
        EXPECT_GT(canvas.Count(crRed, c.rcPicture), 50) << "alignment " << c.nAlign;
        EXPECT_EQ(canvas.Count(crRed), canvas.Count(crRed, c.rcPicture)) << "alignment " << c.nAlign;
        EXPECT_EQ(canvas.Count(kSlots[3]), canvas.Count(kSlots[3], c.rcText)) << "alignment " << c.nAlign;
    }
    // Above the text: the picture takes the top, the text the bottom.
    ::SetWindowPos(m_button.m_hWnd, nullptr, 0, 0, kWidth, 70, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(m_button.SetAlign(CSkinButton::ALIGN_VERT));
    CCanvas canvas(kWidth, 70);
    DRAWITEMSTRUCT draw{ODT_BUTTON, IDOK, 0, ODA_DRAWENTIRE, 0, m_button.m_hWnd, canvas.DC(), RECT{0, 0, kWidth, 70}, 0};
    m_host.SendMessage(WM_DRAWITEM, IDOK, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(canvas.Count(crRed), canvas.Count(crRed, RECT{0, 0, kWidth, 40}));
    EXPECT_GT(canvas.Count(kSlots[3]), 20);
    EXPECT_EQ(canvas.Count(kSlots[3]), canvas.Count(kSlots[3], RECT{0, 38, kWidth, 70}));
}

TEST_F(SkinButton, ATransparentButtonShowsItsParentsBackground) {
    m_host.m_crEraseLeft = RGB(10, 20, 30);
    m_host.m_crEraseRight = RGB(90, 80, 70);
    m_host.m_nEraseSplit = 4 + 30;  // 30 pixels into the button, which sits at x = 4
    m_button.SetWindowText("");
    m_button.SetTransparent(TRUE);
    CCanvas canvas(kWidth, kHeight);
    Draw(canvas, 0);
    EXPECT_EQ(canvas.Pixel(5, 20), RGB(10, 20, 30));
    EXPECT_EQ(canvas.Pixel(29, 20), RGB(10, 20, 30));
    EXPECT_EQ(canvas.Pixel(30, 20), RGB(90, 80, 70));
    EXPECT_EQ(canvas.Pixel(95, 35), RGB(90, 80, 70));
}

TEST(SkinButtonColors, OffsetColorLightensOrDarkensEveryChannelAlikeWithoutPassingALimit) {
    struct Case {
        COLORREF crFrom;
        int nAmount;
        COLORREF crTo;
    };
    const Case cases[] = {
        {RGB(240, 245, 250), 30, RGB(245, 250, 255)},
        {RGB(255, 255, 255), 30, RGB(255, 255, 255)},
        {RGB(10, 20, 30), 100, RGB(110, 120, 130)},
        {RGB(10, 20, 30), -15, RGB(0, 10, 20)},
        {RGB(100, 150, 200), -50, RGB(50, 100, 150)},
        {RGB(0, 0, 0), -255, RGB(0, 0, 0)},
        {RGB(1, 2, 3), 255, RGB(253, 254, 255)},
        {RGB(40, 50, 60), 0, RGB(40, 50, 60)},
    };
    CSkinButton button;
    for (const Case& c : cases) {
        button.SetColor(0, c.crFrom);
        EXPECT_TRUE(button.OffsetColor(0, c.nAmount));
        EXPECT_EQ(button.GetColor(0), c.crTo) << ColorText(c.crFrom) << " by " << c.nAmount;
    }
}

TEST(SkinButtonColors, InvalidSlotsAlignmentsStylesAndAmountsAreRefusedAndChangeNothing) {
    CSkinButton button;
    button.SetColor(5, RGB(1, 2, 3));
    EXPECT_EQ(button.GetColor(0), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(button.GetColor(1), ::GetSysColor(COLOR_BTNTEXT));
    EXPECT_FALSE(button.SetColor(6, RGB(9, 9, 9)));
    EXPECT_FALSE(button.SetColor(-1, RGB(9, 9, 9)));
    EXPECT_FALSE(button.OffsetColor(6, 10));
    EXPECT_FALSE(button.OffsetColor(5, 256));
    EXPECT_FALSE(button.OffsetColor(5, -256));
    EXPECT_EQ(button.GetColor(5), RGB(1, 2, 3));
    ASSERT_TRUE(button.SetAlign(2));
    EXPECT_FALSE(button.SetAlign(4));
    EXPECT_FALSE(button.SetAlign(-1));
    EXPECT_EQ(button.GetAlign(), 2);
    ASSERT_TRUE(button.SetPressedStyle(1));
    EXPECT_FALSE(button.SetPressedStyle(2));
    EXPECT_EQ(button.GetPressedStyle(), 1);
    EXPECT_FALSE(button.SetBitmaps(9999, RGB(255, 255, 255)));
}

TEST_F(SkinButton, ItStaysOwnerDrawnAsTheDefaultButtonAndReportsClicksAsAPushButton) {
    auto Type = [&] { return ::GetWindowLongPtrA(m_button.m_hWnd, GWL_STYLE) & BS_TYPEMASK; };
    EXPECT_EQ(Type(), BS_OWNERDRAW);
    EXPECT_TRUE(m_button.IsDefault());  // the template's DEFPUSHBUTTON
    EXPECT_TRUE(m_button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    m_button.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_FALSE(m_button.IsDefault());
    EXPECT_EQ(Type(), BS_OWNERDRAW);
    EXPECT_TRUE(m_button.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
    m_button.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(m_button.IsDefault());
    EXPECT_EQ(Type(), BS_OWNERDRAW);

    // A quick second click is a click like the first.
    m_host.m_commands.clear();
    const LPARAM lPoint = MAKELPARAM(10, 10);
    m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
    m_button.SendMessage(WM_LBUTTONUP, 0, lPoint);
    m_button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, lPoint);
    m_button.SendMessage(WM_LBUTTONUP, 0, lPoint);
    std::vector<std::pair<int, int>> buttonCommands;
    for (const auto& command : m_host.m_commands)
        if (command.first == IDOK) buttonCommands.push_back(command);
    const std::vector<std::pair<int, int>> expected{{IDOK, BN_CLICKED}, {IDOK, BN_CLICKED}};
    EXPECT_EQ(buttonCommands, expected);
    EXPECT_EQ(::GetFocus(), m_button.m_hWnd);
}

TEST_F(SkinButton, SizeToContentTakesTheFirstPicturesSize) {
    ASSERT_TRUE(m_button.SetBitmaps(IDB_BUTTON_FACE, RGB(240, 245, 250), IDB_TITLE_CLOSE, RGB(255, 255, 255)));
    m_button.SizeToContent();
    RECT rc;
    ::GetClientRect(m_button.m_hWnd, &rc);
    EXPECT_EQ(rc.right, 87);
    EXPECT_EQ(rc.bottom, 27);
}
