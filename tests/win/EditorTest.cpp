// The time arrangement editor in process: how each kind of day is shown, what a save writes to
// prj.nam (byte for byte), the three refusals and where the focus lands, edits dropped on a change
// of day or user, the end hour 24, and the plain checks of the day controls.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <map>
#include <memory>
#include <tuple>
#include <cstring>
#include <functional>
#include <vector>
#include <string>

#include "core/rules/DayControls.h"
#include "core/store/DataStore.h"
#include "core/store/HistoryFile.h"
#include "core/store/ProgramRuleStore.h"
#include "core/store/ProgramUseStore.h"
#include "core/store/UsageStore.h"
#include "core/texts/Utilities.h"
#include "DialogAnswer.h"
#include "LookTestSupport.h"
#include "resources/resource.h"
#include "support/FakeClock.h"
#include "support/FakeProcesses.h"
#include "support/FakeSystemActions.h"
#include "support/ScreenCapture.h"
#include "support/TempFolder.h"
#include "win/controls/DialogFrame.h"
#include "win/framework/WinApp.h"
#include "win/windows/ArrangementDlg.h"
#include "win/windows/DayStrip.h"
#include "win/windows/HistoryDlg.h"
#include "win/windows/UsageChart.h"

namespace {

using WEEK = std::array<CDayPrj, 7>;

// prj.nam as the format has it: per child a 128-byte name field (0xCC after the text) and seven
// records of a tag and thirteen little-endian 32-bit fields.
BYTES WeekImage(const std::string& strName, const WEEK& week) {
    BYTES bytes(128, 0xCC);
    std::memcpy(bytes.data(), strName.c_str(), strName.size() + 1);
    auto put = [&bytes](std::int32_t n) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(n) >> (8 * i)));
    };
    for (const CDayPrj& d : week) {
        for (std::int32_t n : {CDayPrj::RECORD_TAG, d.m_bTotalLimit, d.m_nTotalHours, d.m_nTotalMinutes, d.m_bRest,
                               d.m_nRestEvery, d.m_nRestMinutes, d.m_bPeriod, d.m_nStartHour, d.m_nStartMinute,
                               d.m_nEndHour, d.m_nEndMinute, d.m_bForbid, d.m_bFree})
            put(n);
    }
    return bytes;
}

CDayPrj Forbidden() {
    CDayPrj d;
    d.m_bForbid = 1;
    d.m_bTotalLimit = d.m_bRest = d.m_bPeriod = 0;
    d.m_nTotalHours = 3;
    d.m_nRestEvery = 40;
    return d;
}
CDayPrj Free() {
    CDayPrj d;
    d.m_bFree = 1;
    d.m_bTotalLimit = d.m_bRest = d.m_bPeriod = 0;
    return d;
}
// Values that the combo boxes cannot all show: a 6-minute interval and 9 hours.
CDayPrj Odd() {
    CDayPrj d;
    d.m_nRestEvery = 6;
    d.m_nRestMinutes = 2;
    d.m_nTotalHours = 9;
    d.m_nTotalMinutes = 45;
    d.m_nStartHour = 8;
    d.m_nStartMinute = 5;
    d.m_nEndHour = 20;
    d.m_nEndMinute = 30;
    return d;
}

// A picture of a dialog as it stands, for a person to look at, once its painting is done.
void ShotOfDialog(HWND hDlg, const std::string& strName) {
    if (const std::string strShot = ScreenshotFolder(); !strShot.empty()) SaveWindowShot(hDlg, strShot + strName);
}

// A row of a report list, its columns' texts joined with " | ".
std::string ListRow(HWND hList, int nRow, int nColumns) {
    std::string strRow;
    for (int nColumn = 0; nColumn < nColumns; ++nColumn) {
        char sz[256] = {};
        ListView_GetItemText(hList, nRow, nColumn, sz, sizeof sz);
        strRow += (nColumn ? " | " : "") + std::string(sz);
    }
    return strRow;
}

// Chooses an item of a combo box of a dialog by its text, as the user's choice reaches the dialog.
void ChooseItem(HWND hDlg, int nId, const std::string& strItem) {
    HWND hCombo = ::GetDlgItem(hDlg, nId);
    const LRESULT n = ::SendMessageA(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(strItem.c_str()));
    ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(n), 0);
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
}

void PressIn(HWND hDlg, int nId) {
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nId)));
}

class Editor : public ::testing::Test {
protected:
    // Tom's week: Sunday forbidden, Monday free, Tuesday odd, the rest the defaults; Ann's all default.
    void SetUp() override {
        m_clock.SetLocal(2026, 3, 1, 10, 0, 0);  // a Sunday
        m_week[0] = Forbidden();
        m_week[1] = Free();
        m_week[2] = Odd();
        WriteFiles({"Tom", "Ann"});
    }
    void WriteFiles(const std::vector<std::string>& names) {
        BYTES prj;
        for (const std::string& strName : names) {
            m_store.m_childAccounts.Add(strName);
            const BYTES week = WeekImage(strName, strName == "Tom" ? m_week : WEEK{});
            prj.insert(prj.end(), week.begin(), week.end());
        }
        m_store.m_childAccounts.Save();
        m_folder.Write("prj.nam", prj);
    }
    void Open() {
        m_pDlg = new CArrangementDlg(&m_store);
        ASSERT_TRUE(m_pDlg->Create());
        m_hDlg = m_pDlg->m_hWnd;
    }
    void TearDown() override {
        if (::IsWindow(m_hDlg)) ::DestroyWindow(m_hDlg);  // the object deletes itself
    }
    std::string DialogText(int nId) const { return CDialogAnswer::Text(::GetDlgItem(m_hDlg, nId)); }
    void Press(int nId) const { ::SendMessageA(::GetDlgItem(m_hDlg, nId), BM_CLICK, 0, 0); }
    bool Checked(int nId) const { return ::IsDlgButtonChecked(m_hDlg, nId) == BST_CHECKED; }
    bool Enabled(int nId) const { return ::IsWindowEnabled(::GetDlgItem(m_hDlg, nId)); }
    std::string ComboText(int nId) const {
        HWND hCombo = ::GetDlgItem(m_hDlg, nId);
        const LRESULT n = ::SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
        if (n == CB_ERR) return "(none)";
        char sz[16] = {};
        ::SendMessageA(hCombo, CB_GETLBTEXT, n, reinterpret_cast<LPARAM>(sz));
        return sz;
    }
    void Choose(int nId, const std::string& strItem) const {
        HWND hCombo = ::GetDlgItem(m_hDlg, nId);
        const LRESULT n = ::SendMessageA(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(strItem.c_str()));
        ::SendMessageA(hCombo, CB_SETCURSEL, n, 0);
        for (int nCode : {CBN_SELCHANGE, CBN_SELENDOK})
            ::SendMessageA(m_hDlg, WM_COMMAND, MAKEWPARAM(nId, nCode), reinterpret_cast<LPARAM>(hCombo));
    }
    void SelectDay(int nRow) const {
        ListView_SetItemState(::GetDlgItem(m_hDlg, IDC_ARR_WEEK), nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    int SelectedDay() const { return ListView_GetNextItem(::GetDlgItem(m_hDlg, IDC_ARR_WEEK), -1, LVNI_SELECTED); }
    std::string Row(int nRow) const {
        char sz[256] = {};
        ListView_GetItemText(::GetDlgItem(m_hDlg, IDC_ARR_WEEK), nRow, 1, sz, sizeof sz);
        return sz;
    }
    void Save() const { ::SendMessageA(m_hDlg, WM_COMMAND, MAKEWPARAM(IDC_ARR_SAVE, BN_CLICKED), 0); }
    BYTES Expected() const {
        BYTES bytes = WeekImage("Tom", m_week);
        const BYTES ann = WeekImage("Ann", WEEK{});
        bytes.insert(bytes.end(), ann.begin(), ann.end());
        return bytes;
    }
    void Shot(const std::string& strName) const {
        if (const std::string strFolder = ScreenshotFolder(); !strFolder.empty()) {
            ::RedrawWindow(m_hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            RECT rc;
            ::GetWindowRect(m_hDlg, &rc);
            SaveScreenArea(rc, strFolder + strName + ".bmp");
        }
    }

    CTempFolder m_folder;
    CFakeClock m_clock;
    CFakeSystemActions m_system;
    CDataStore m_store;
    WEEK m_week;
    CArrangementDlg* m_pDlg = nullptr;
    HWND m_hDlg = nullptr;
};

}  // namespace

TEST_F(Editor, OpensOnTodayWithTheOpeningSelectionsAndTheWeekAsSummaries) {
    Open();
    EXPECT_EQ(m_pDlg->m_strUser, "Tom");
    EXPECT_EQ(m_pDlg->m_nDay, 0) << "today is a Sunday";
    EXPECT_EQ(SelectedDay(), 0);
    char szDay[32] = {};
    ::GetDlgItemTextA(m_hDlg, IDC_ARR_DAY_NAME, szDay, sizeof szDay);
    EXPECT_STREQ(szDay, "Sunday");
    for (int nDay = 0; nDay < 7; ++nDay) EXPECT_EQ(Row(nDay), (nDay == 0 ? Forbidden() : nDay == 1 ? Free() : nDay == 2 ? Odd() : CDayPrj()).GetSummary()) << nDay;
    // A forbidden day: its radio, the conditions off, and the combo boxes at their opening items.
    EXPECT_TRUE(Checked(IDC_ARR_FORBID));
    EXPECT_FALSE(Checked(IDC_ARR_CONDITIONAL) || Checked(IDC_ARR_FREE));
    EXPECT_EQ(m_pDlg->m_nUsage, USAGE_FORBID);
    for (int nId : {IDC_ARR_REST_CHECK, IDC_ARR_TOTAL_HOURS, IDC_ARR_END_MINUTE, 1050, 1059}) EXPECT_FALSE(Enabled(nId)) << nId;
    const std::pair<int, const char*> opening[] = {{IDC_ARR_REST_EVERY, "10"}, {IDC_ARR_REST_MINUTES, "5"},
                                                   {IDC_ARR_TOTAL_HOURS, "1"}, {IDC_ARR_TOTAL_MINUTES, "30"},
                                                   {IDC_ARR_START_HOUR, "07"}, {IDC_ARR_START_MINUTE, "00"},
                                                   {IDC_ARR_END_HOUR, "23"},   {IDC_ARR_END_MINUTE, "00"}};
    for (auto [nId, pszText] : opening) EXPECT_EQ(ComboText(nId), pszText) << nId;
    EXPECT_EQ(::SendMessageA(::GetDlgItem(m_hDlg, IDC_ARR_END_HOUR), CB_GETCOUNT, 0, 0), 25);
    Shot("editor-forbid");

    // Monday is free; the conditions stay as Sunday left them.
    SelectDay(1);
    EXPECT_TRUE(Checked(IDC_ARR_FREE));
    EXPECT_EQ(m_pDlg->m_nUsage, USAGE_FREE);
    EXPECT_EQ(ComboText(IDC_ARR_REST_EVERY), "10");
    Shot("editor-free");

    // Tuesday: 6 minutes selects "60", the first item that begins with "6"; 9 hours selects nothing.
    SelectDay(2);
    EXPECT_TRUE(Checked(IDC_ARR_CONDITIONAL));
    EXPECT_TRUE(Enabled(IDC_ARR_TOTAL_HOURS) && Enabled(1055));
    EXPECT_EQ(ComboText(IDC_ARR_REST_EVERY), "60");
    EXPECT_EQ(ComboText(IDC_ARR_REST_MINUTES), "2");
    EXPECT_EQ(ComboText(IDC_ARR_TOTAL_HOURS), "(none)");
    EXPECT_EQ(ComboText(IDC_ARR_TOTAL_MINUTES), "45");
    EXPECT_EQ(ComboText(IDC_ARR_START_HOUR), "08");
    EXPECT_EQ(ComboText(IDC_ARR_START_MINUTE), "05");
    EXPECT_EQ(ComboText(IDC_ARR_END_HOUR), "20");
    EXPECT_EQ(ComboText(IDC_ARR_END_MINUTE), "30");
    Shot("editor-conditional");

    // Saved as shown: the interval becomes 60 and the hours without a selection 0.
    Save();
    m_week[2].m_nRestEvery = 60;
    m_week[2].m_nTotalHours = 0;
    EXPECT_EQ(m_folder.Read("prj.nam"), Expected());
    EXPECT_EQ(Row(2), m_week[2].GetSummary());
}

TEST_F(Editor, SavingEachModeKeepsTheNumbersOfWhatIsOff) {
    Open();
    // Forbid on a conditional day: flags off, numbers kept.
    SelectDay(3);
    Press(IDC_ARR_FORBID);
    EXPECT_FALSE(Enabled(IDC_ARR_PERIOD_CHECK));
    Save();
    m_week[3].m_bForbid = 1;
    m_week[3].ClearLimits();
    EXPECT_EQ(m_folder.Read("prj.nam"), Expected()) << "forbid";

    // Free on the forbidden Sunday.
    SelectDay(0);
    Press(IDC_ARR_FREE);
    Save();
    m_week[0].m_bForbid = 0;
    m_week[0].m_bFree = 1;
    EXPECT_EQ(m_folder.Read("prj.nam"), Expected()) << "free";

    // Conditional with only the period: the unticked limits keep their old numbers even though
    // their combo boxes were changed.
    SelectDay(4);
    Press(IDC_ARR_REST_CHECK);
    Press(IDC_ARR_TOTAL_CHECK);
    Choose(IDC_ARR_TOTAL_HOURS, "5");
    Choose(IDC_ARR_REST_EVERY, "45");
    Choose(IDC_ARR_END_HOUR, "18");
    Save();
    m_week[4].m_bRest = m_week[4].m_bTotalLimit = 0;
    m_week[4].m_nEndHour = 18;
    EXPECT_EQ(m_folder.Read("prj.nam"), Expected()) << "conditional";

    // Conditional again on a forbidden day: the controls as the previous day left them.
    SelectDay(3);
    Press(IDC_ARR_CONDITIONAL);
    EXPECT_FALSE(Checked(IDC_ARR_REST_CHECK));
    EXPECT_EQ(ComboText(IDC_ARR_TOTAL_HOURS), "5");
    Save();
    m_week[3] = CDayPrj();
    m_week[3].m_bRest = m_week[3].m_bTotalLimit = 0;
    m_week[3].m_nEndHour = 18;
    EXPECT_EQ(m_folder.Read("prj.nam"), Expected()) << "conditional from forbidden";
}

TEST_F(Editor, TheThreeRefusalsShowTheirTextAndPutTheFocusOnTheControlToMend) {
    Open();
    SelectDay(3);
    const BYTES before = m_folder.Read("prj.nam");
    struct Case {
        const char* pszName;
        std::function<void()> prepare;
        const char* pszText;
        int nFocus;
    };
    const Case cases[] = {
        {"no limit", [this] { Press(IDC_ARR_REST_CHECK), Press(IDC_ARR_TOTAL_CHECK), Press(IDC_ARR_PERIOD_CHECK); },
         "Select at least one of the three \r\nrestricted using options.", IDC_ARR_REST_CHECK},
        {"total 0", [this] { Choose(IDC_ARR_TOTAL_HOURS, "0"), Choose(IDC_ARR_TOTAL_MINUTES, "0"); },
         "The total permitted time \r\n should be greater than 0.", IDC_ARR_TOTAL_MINUTES},
        {"08:00 to 08:00",
         [this] {
             Choose(IDC_ARR_START_HOUR, "08"), Choose(IDC_ARR_START_MINUTE, "00");
             Choose(IDC_ARR_END_HOUR, "08"), Choose(IDC_ARR_END_MINUTE, "00");
         },
         "The start time of permission periods \r\nshould be before the end time.", IDC_ARR_START_HOUR},
    };
    for (const Case& c : cases) {
        // Another user and back shows the stored day again, without a check.
        Choose(IDC_ARR_USER, "Ann");
        Choose(IDC_ARR_USER, "Tom");
        c.prepare();
        {
            CMessageBoxCloser closer;
            Save();
            ASSERT_EQ(closer.m_texts.size(), 1u) << c.pszName;
            EXPECT_EQ(closer.m_texts[0], c.pszText) << c.pszName;
            EXPECT_EQ(closer.m_captions[0], "Wrong Settings") << c.pszName;
        }
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(m_hDlg, c.nFocus)) << c.pszName;
        EXPECT_EQ(m_folder.Read("prj.nam"), before) << c.pszName << ": nothing saved";
        // Leaving the day is refused the same way and the row comes back.
        CMessageBoxCloser closer;
        SelectDay(6);
        EXPECT_EQ(closer.m_texts.size(), 1u) << c.pszName;
        EXPECT_EQ(SelectedDay(), 3) << c.pszName;
        EXPECT_EQ(m_pDlg->m_nDay, 3) << c.pszName;
        EXPECT_EQ(m_pDlg->m_bBusy, 0);
    }
    // With the total box off a total of 0 passes; 07:00 to 24:00 passes.
    Press(IDC_ARR_TOTAL_CHECK);  // was ticked by the default day
    Choose(IDC_ARR_TOTAL_HOURS, "0");
    Choose(IDC_ARR_TOTAL_MINUTES, "0");
    Choose(IDC_ARR_START_HOUR, "07");
    Choose(IDC_ARR_END_HOUR, "24");
    CMessageBoxCloser closer;
    Save();
    EXPECT_TRUE(closer.m_texts.empty());
    m_week[3].m_bTotalLimit = 0;
    m_week[3].m_nStartHour = 7;
    m_week[3].m_nStartMinute = 0;
    m_week[3].m_nEndHour = 24;
    m_week[3].m_nEndMinute = 0;
    EXPECT_EQ(m_folder.Read("prj.nam"), Expected());
}

TEST_F(Editor, EndHour24ResetsTheEndMinuteWhicheverIsChosenLast) {
    Open();
    SelectDay(3);
    Choose(IDC_ARR_END_MINUTE, "30");
    Choose(IDC_ARR_END_HOUR, "24");
    EXPECT_EQ(ComboText(IDC_ARR_END_MINUTE), "00");
    Choose(IDC_ARR_END_MINUTE, "30");
    EXPECT_EQ(ComboText(IDC_ARR_END_MINUTE), "00");
    Choose(IDC_ARR_END_HOUR, "23");
    Choose(IDC_ARR_END_MINUTE, "30");
    EXPECT_EQ(ComboText(IDC_ARR_END_MINUTE), "30");
}

TEST_F(Editor, ChangingDayOrUserDropsTheEditsAndAUserChangeIsNotValidated) {
    Open();
    SelectDay(3);
    Choose(IDC_ARR_TOTAL_HOURS, "6");
    SelectDay(4);
    SelectDay(3);
    EXPECT_EQ(ComboText(IDC_ARR_TOTAL_HOURS), "1") << "the unsaved edit is gone";

    // An invalid day does not stop a change of user, and nothing is written.
    Press(IDC_ARR_REST_CHECK), Press(IDC_ARR_TOTAL_CHECK), Press(IDC_ARR_PERIOD_CHECK);
    const BYTES before = m_folder.Read("prj.nam");
    CMessageBoxCloser closer;
    Choose(IDC_ARR_USER, "Ann");
    EXPECT_TRUE(closer.m_texts.empty());
    EXPECT_EQ(m_pDlg->m_strUser, "Ann");
    EXPECT_TRUE(Checked(IDC_ARR_REST_CHECK)) << "Ann's Wednesday shown";
    EXPECT_EQ(Row(0), CDayPrj().GetSummary());
    EXPECT_EQ(m_folder.Read("prj.nam"), before);
    // A click beside the rows keeps the day selected.
    ListView_SetItemState(::GetDlgItem(m_hDlg, IDC_ARR_WEEK), -1, 0, LVIS_SELECTED);
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = ::GetDlgItem(m_hDlg, IDC_ARR_WEEK);
    click.hdr.idFrom = IDC_ARR_WEEK;
    click.hdr.code = NM_CLICK;
    click.iItem = -1;
    ::SendMessageA(m_hDlg, WM_NOTIFY, IDC_ARR_WEEK, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(SelectedDay(), 3);
}

TEST_F(Editor, WithoutChildrenEveryRowIsNotSetYetAndNothingCanBeSaved) {
    m_store.m_childAccounts = CChildAccountList();
    m_folder.Write("child.nam", BYTES());
    m_folder.Write("prj.nam", BYTES());
    Open();
    EXPECT_EQ(m_pDlg->m_strUser, "");
    for (int nDay = 0; nDay < 7; ++nDay) EXPECT_EQ(Row(nDay), " Not set yet");
    EXPECT_FALSE(Enabled(IDC_ARR_SAVE));
    CMessageBoxCloser closer;
    Press(IDC_ARR_CONDITIONAL);  // with nothing ticked, which a child's day would refuse
    SelectDay(4);
    EXPECT_TRUE(closer.m_texts.empty());
    EXPECT_EQ(m_pDlg->m_nDay, 4);
}

TEST_F(Editor, TheHotKeyDoesNotSwitchWhileTheEditorIsBusyAndEnterOrEscapeNeverClose) {
    Open();
    m_pDlg->m_bBusy = 1;
    m_pDlg->SwitchUser();
    ASSERT_TRUE(::IsWindow(m_hDlg));
    for (WPARAM nKey : {VK_RETURN, VK_ESCAPE}) {
        MSG msg{::GetDlgItem(m_hDlg, IDC_ARR_WEEK), WM_KEYDOWN, nKey, 0, 0, {0, 0}};
        EXPECT_TRUE(CWinApp::PreTranslate(&msg)) << nKey;
    }
    ::SendMessageA(m_hDlg, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(::IsZoomed(m_hDlg));
    // The logo and the product name open the web site.
    for (int nId : {IDC_ARR_LOGO, IDC_ARR_LOGO_TEXT})
        ::SendMessageA(m_hDlg, WM_COMMAND, MAKEWPARAM(nId, STN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(m_hDlg, nId)));
    EXPECT_EQ(m_system.CallsStartingWith("shell open").size(), 2u);
    m_pDlg->m_bBusy = 0;
    m_pDlg->SwitchUser();
    EXPECT_FALSE(::IsWindow(m_hDlg)) << "the editor is gone";
}

// The preview under the day's controls follows every control at once and draws what it says.
TEST_F(Editor, ThePreviewFollowsTheControlsBeforeAnySave) {
    Open();  // Sunday: Tom's day is forbidden
    EXPECT_EQ(DialogText(IDC_ARR_PREVIEW_TEXT), "Forbidden all day: the computer stays locked.");
    SelectDay(1);
    EXPECT_EQ(DialogText(IDC_ARR_PREVIEW_TEXT), "Free all day: usable 00:00\x96" "24:00 with no limits.");
    SelectDay(3);  // the default day
    EXPECT_EQ(DialogText(IDC_ARR_PREVIEW_TEXT),
              "Usable 07:30\x96" "22:00; rests at 07:55, 08:30, 09:05; locked for the day at 09:30.");
    const BYTES before = m_folder.Read("prj.nam");
    Choose(IDC_ARR_TOTAL_HOURS, "0");
    Choose(IDC_ARR_TOTAL_MINUTES, "30");
    EXPECT_EQ(DialogText(IDC_ARR_PREVIEW_TEXT), "Usable 07:30\x96" "22:00; rests at 07:55; locked for the day at 08:10.");
    Press(IDC_ARR_TOTAL_CHECK);  // off: the period's end locks
    Choose(IDC_ARR_END_HOUR, "20");
    EXPECT_EQ(m_pDlg->Preview().LockedForDayAt(), 20 * 3600);
    Press(IDC_ARR_FORBID);
    EXPECT_EQ(DialogText(IDC_ARR_PREVIEW_TEXT), "Forbidden all day: the computer stays locked.");
    Press(IDC_ARR_CONDITIONAL);
    Choose(IDC_ARR_TOTAL_HOURS, "2");
    Press(IDC_ARR_TOTAL_CHECK);
    Press(IDC_ARR_REST_CHECK);
    EXPECT_EQ(m_folder.Read("prj.nam"), before) << "the preview saves nothing";

    // 2 hours from 07:30:01 without rests: the strip is outside, in use, used up at these hours.
    auto* pStrip = dynamic_cast<CDayStrip*>(CWnd::FromHandle(::GetDlgItem(m_hDlg, IDC_ARR_PREVIEW_STRIP)));
    ASSERT_NE(pStrip, nullptr);
    RECT rcClient{};
    ::GetClientRect(pStrip->m_hWnd, &rcClient);
    CCanvas canvas(rcClient.right, rcClient.bottom);
    pStrip->Paint(canvas.DC());
    const RECT rcBar = pStrip->BarRect();
    const int y = (rcBar.top + rcBar.bottom) / 2;
    auto ColourAt = [&](double dHour) { return canvas.Pixel(rcBar.left + 1 + static_cast<int>(dHour / 24 * (rcBar.right - rcBar.left - 2)), y); };
    EXPECT_EQ(ColorText(ColourAt(3)), ColorText(CDayStrip::ColourOf(PREVIEW_KIND::OUTSIDE)));
    EXPECT_EQ(ColorText(ColourAt(8.5)), ColorText(CDayStrip::ColourOf(PREVIEW_KIND::IN_USE)));
    EXPECT_EQ(ColorText(ColourAt(12)), ColorText(CDayStrip::ColourOf(PREVIEW_KIND::USED_UP)));
    Shot("editor-preview");
}

// "Save for..." writes the arrangement being edited into exactly the ticked days of the ticked
// children, and says so afterwards; Cancel writes nothing.
TEST_F(Editor, SaveForWritesExactlyTheChosenDaysOfTheChosenChildren) {
    Open();
    SelectDay(3);
    Press(IDC_ARR_FREE);
    const BYTES before = m_folder.Read("prj.nam");
    {
        CDialogAnswer cancel(IDC_SAVE_FOR_CHILDREN, [](HWND hDlg) { CDialogAnswer::Click(hDlg, IDCANCEL); });
        ::SendMessageA(m_hDlg, WM_COMMAND, MAKEWPARAM(IDC_ARR_SAVE_FOR, BN_CLICKED), 0);
        EXPECT_EQ(cancel.m_nAnswered, 1);
    }
    EXPECT_EQ(m_folder.Read("prj.nam"), before);

    std::string strQuestion;
    CDialogAnswer choose(IDC_SAVE_FOR_CHILDREN, [&strQuestion](HWND hDlg) {
        strQuestion = CDialogAnswer::Text(::GetDlgItem(hDlg, IDC_SAVE_FOR_TEXT));
        // Wednesday is ticked already; Thursday and Saturday too, and Ann besides Tom.
        for (int nDay : {4, 6}) ::CheckDlgButton(hDlg, IDC_SAVE_FOR_DAY0 + nDay, BST_CHECKED);
        ListView_SetCheckState(::GetDlgItem(hDlg, IDC_SAVE_FOR_CHILDREN), 1, TRUE);
        if (const std::string strShot = ScreenshotFolder(); !strShot.empty()) {
            ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            RECT rc;
            ::GetWindowRect(hDlg, &rc);
            SaveScreenArea(rc, strShot + "save-for.bmp");
        }
        CDialogAnswer::Click(hDlg, IDOK);
    });
    CMessageBoxCloser closer;
    ::SendMessageA(m_hDlg, WM_COMMAND, MAKEWPARAM(IDC_ARR_SAVE_FOR, BN_CLICKED), 0);
    EXPECT_EQ(strQuestion, "Save Wednesday's arrangement of Tom also to the days and children ticked below:");
    ASSERT_EQ(closer.m_texts.size(), 1u);
    EXPECT_EQ(closer.m_texts[0], "Saved to Wednesday, Thursday and Saturday for Tom and Ann.");

    WEEK ann{};
    for (int nDay : {3, 4, 6}) {
        for (WEEK* pWeek : {&m_week, &ann}) {
            CDayPrj& day = (*pWeek)[static_cast<std::size_t>(nDay)];
            day.m_bFree = 1;
            day.m_bTotalLimit = day.m_bRest = day.m_bPeriod = 0;  // their numbers stay
        }
    }
    BYTES expected = WeekImage("Tom", m_week);
    const BYTES annImage = WeekImage("Ann", ann);
    expected.insert(expected.end(), annImage.begin(), annImage.end());
    EXPECT_EQ(m_folder.Read("prj.nam"), expected);
    EXPECT_EQ(Row(4), m_pDlg->EditedDay().GetSummary());
    EXPECT_FALSE(m_pDlg->m_bBusy);
}

// The history window draws each day's bars to the heights its minutes call for, today's from
// use.sta; a child with nothing recorded gets a sentence instead of an empty chart.
TEST_F(Editor, TheHistoryChartsTheLast28DaysAndSaysSoWhenThereIsNothing) {
    const std::string strFile = std::string(CHistoryFile::kHeader) +
                                "\r\n2026-02-20,Tom,120,60,3,30\r\n2026-02-27,Tom,30,90,1,0\r\n"
                                "2026-02-28,Tom,90,90,2,0\r\n2026-02-28,Ann,10,90,0,0\r\n2026-01-02,Tom,500,500,0,0\r\n";
    m_folder.Write(CHistoryFile::kFileName, BYTES(strFile.begin(), strFile.end()));
    CUsageStore usage;
    USAGE_RECORD today;
    today.strUser = "Tom";
    today.nUsedSecs = 45 * 60 + 20;
    today.tLastSave = m_clock.Now() - 30;
    usage.Add(today);
    ASSERT_TRUE(usage.Save());
    Open();

    struct SEEN {
        bool bEmpty = true;
        int nScale = 0;
        std::map<int, int> accent, pale, live, expectedAccent, expectedPale;
    } seen;
    auto look = std::make_unique<CDialogAnswer>(IDC_HISTORY_EVENTS, [&seen](HWND hDlg) {
        const auto* pChart = dynamic_cast<const CUsageChart*>(CWnd::FromHandle(::GetDlgItem(hDlg, IDC_HISTORY_CHART)));
        if (pChart) {
            seen.bEmpty = !::IsWindowVisible(pChart->m_hWnd);
            seen.nScale = pChart->ScaleMinutes();
            RECT rc{};
            ::GetClientRect(pChart->m_hWnd, &rc);
            CCanvas canvas(rc.right, rc.bottom);
            pChart->Paint(canvas.DC());
            const RECT rcPlot = pChart->PlotRect();
            // Day 27 is today (1 March); 26 is 28 February, 25 the 27th, 18 the 20th.
            for (auto [nDay, nUsed, nAllowed] : {std::tuple{26, 90, 90}, {25, 30, 90}, {18, 120, 60}, {27, 45, 0}, {10, 0, 0}}) {
                const RECT rcColumn = pChart->ColumnRect(nDay);
                const int xMiddle = (rcColumn.left + rcColumn.right) / 2;
                const int nGap = std::max<int>(1, (rcColumn.right - rcColumn.left) / 6);
                seen.accent[nDay] = canvas.Count(kAccentColor, RECT{xMiddle, rcPlot.top, xMiddle + 1, rcPlot.bottom});
                seen.live[nDay] = canvas.Count(CUsageChart::kTodayColour, RECT{xMiddle, rcPlot.top, xMiddle + 1, rcPlot.bottom});
                seen.pale[nDay] = canvas.Count(CUsageChart::kAllowedColour,
                                               RECT{rcColumn.left + nGap, rcPlot.top, rcColumn.left + nGap + 1, rcPlot.bottom});
                seen.expectedAccent[nDay] = pChart->HeightOf(nUsed);
                seen.expectedPale[nDay] = pChart->HeightOf(nAllowed);
            }
            if (const std::string strShot = ScreenshotFolder(); !strShot.empty()) {
                ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                RECT rcShot;
                ::GetWindowRect(hDlg, &rcShot);
                SaveScreenArea(rcShot, strShot + "history.bmp");
            }
        }
        CDialogAnswer::Click(hDlg, IDOK);
    });
    ::SendMessageA(m_hDlg, WM_COMMAND, MAKEWPARAM(IDC_ARR_HISTORY, BN_CLICKED), 0);
    ASSERT_EQ(look->m_nAnswered, 1);
    look.reset();
    EXPECT_FALSE(seen.bEmpty);
    EXPECT_EQ(seen.nScale, 120) << "the tallest bar (the 20th's 120 minutes) fills the plot; 2 January is too old";
    EXPECT_GT(seen.expectedAccent[26], 20);
    EXPECT_EQ(seen.accent[26], seen.expectedAccent[26]);
    EXPECT_EQ(seen.accent[25], seen.expectedAccent[25]);
    EXPECT_EQ(seen.accent[18], seen.expectedAccent[18]);
    // The allowance shows where the use does not cover it, its top at its own height.
    EXPECT_EQ(seen.pale[25], seen.expectedPale[25]);
    EXPECT_EQ(seen.live[27], seen.expectedAccent[27]) << "today's bar, from use.sta";
    EXPECT_EQ(seen.accent[27], 0);
    EXPECT_EQ(seen.accent[10] + seen.pale[10], 0) << "a day without a line has no bar";
    EXPECT_FALSE(m_pDlg->m_bBusy);

    // A new child has nothing recorded.
    m_store.m_childAccounts.Add("Bea");
    std::string strEmpty;
    bool bChartShown = true;
    CDialogAnswer empty(IDC_HISTORY_EVENTS, [&](HWND hDlg) {
        strEmpty = CDialogAnswer::Text(::GetDlgItem(hDlg, IDC_HISTORY_EMPTY));
        bChartShown = ::IsWindowVisible(::GetDlgItem(hDlg, IDC_HISTORY_CHART));
        if (const std::string strShot = ScreenshotFolder(); !strShot.empty()) {
            ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            RECT rcShot;
            ::GetWindowRect(hDlg, &rcShot);
            SaveScreenArea(rcShot, strShot + "history-empty.bmp");
        }
        CDialogAnswer::Click(hDlg, IDOK);
    });
    m_pDlg->m_strUser = "Bea";
    ::SendMessageA(m_hDlg, WM_COMMAND, MAKEWPARAM(IDC_ARR_HISTORY, BN_CLICKED), 0);
    EXPECT_FALSE(bChartShown);
    EXPECT_EQ(strEmpty, "Nothing has been recorded for Bea yet: the chart appears after the first day of use.");
}

// "game.exe: 30 minutes a day" typed, homework picked from the running programs and let count
// outside the day's limits, explorer.exe refused; Save writes programs.lim and the preview shows
// the day's programs under the strip.
TEST_F(Editor, AParentGivesAGameThirtyMinutesADayAndPicksHomeworkFromTheRunningPrograms) {
    CFakeProcesses processes;
    processes.Start("game.exe", "D:\\Games\\game.exe");
    processes.m_processes.back().strTitle = "Space Game";
    processes.Start("homework.exe", "C:\\School\\homework.exe");
    processes.m_processes.back().strTitle = "Essay - Homework";
    Open();
    auto closer = std::make_unique<CMessageBoxCloser>();
    std::vector<std::string> running;
    auto pick = std::make_unique<CDialogAnswer>(IDC_RUNNING_LIST, [&running](HWND hDlg) {
        HWND hList = ::GetDlgItem(hDlg, IDC_RUNNING_LIST);
        for (int nRow = 0; nRow < ListView_GetItemCount(hList); ++nRow) running.push_back(ListRow(hList, nRow, 2));
        ListView_SetItemState(hList, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ShotOfDialog(hDlg, "running-programs.bmp");
        CDialogAnswer::Click(hDlg, IDOK);
    });
    std::vector<std::string> rows;
    std::string strSelected;
    auto programs = std::make_unique<CDialogAnswer>(IDC_PROGRAMS_LIST, [&](HWND hDlg) {
        SetDlgItemTextA(hDlg, IDC_PROGRAMS_NAME, "explorer.exe");
        PressIn(hDlg, IDC_PROGRAMS_ADD);  // refused, with a message
        SetDlgItemTextA(hDlg, IDC_PROGRAMS_NAME, "game");
        PressIn(hDlg, IDC_PROGRAMS_ADD);
        ChooseItem(hDlg, IDC_PROGRAMS_EVERY_DAY, "30 min");
        PressIn(hDlg, IDC_PROGRAMS_RUNNING);  // homework.exe is picked
        ChooseItem(hDlg, IDC_PROGRAMS_DAY0 + 6, "2 h");
        ::CheckDlgButton(hDlg, IDC_PROGRAMS_OUTSIDE, BST_CHECKED);
        PressIn(hDlg, IDC_PROGRAMS_OUTSIDE);
        HWND hList = ::GetDlgItem(hDlg, IDC_PROGRAMS_LIST);
        for (int nRow = 0; nRow < ListView_GetItemCount(hList); ++nRow) rows.push_back(ListRow(hList, nRow, 3));
        strSelected = CDialogAnswer::Text(::GetDlgItem(hDlg, IDC_PROGRAMS_SELECTED));
        ShotOfDialog(hDlg, "programs.bmp");
        CDialogAnswer::Click(hDlg, IDOK);
    });
    ::SendMessageA(m_hDlg, WM_COMMAND, MAKEWPARAM(IDC_ARR_PROGRAMS, BN_CLICKED), 0);
    ASSERT_EQ(programs->m_nAnswered, 1);
    ASSERT_EQ(pick->m_nAnswered, 1);
    EXPECT_EQ(closer->m_texts, std::vector<std::string>{"explorer.exe is a part of Windows and cannot have a rule."});
    programs.reset();
    pick.reset();
    closer.reset();
    EXPECT_EQ(running, (std::vector<std::string>{"game.exe | Space Game", "homework.exe | Essay - Homework"}));
    EXPECT_EQ(rows, (std::vector<std::string>{"game.exe | 30 min every day | ",
                                              "homework.exe | Sun 1 h, Mon 1 h, Tue 1 h, Wed 1 h, Thu 1 h, Fri 1 h, Sat 2 h | Yes"}));
    EXPECT_EQ(strSelected, "Minutes a day for homework.exe:");

    PROGRAM_RULE game;
    game.strUser = "Tom";
    game.strProgram = "game.exe";
    game.nMinutes.fill(30);
    PROGRAM_RULE homework = game;
    homework.strProgram = "homework.exe";
    homework.strPath = "C:\\School\\homework.exe";
    homework.nMinutes.fill(60);
    homework.nMinutes[6] = 120;
    homework.nFlags = PROGRAM_RULE::FLAG_OUTSIDE;
    CProgramRuleStore stored;
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(stored.ForUser("Tom"), (std::vector<PROGRAM_RULE>{game, homework}));
    EXPECT_TRUE(stored.ForUser("Ann").empty());
    EXPECT_EQ(DialogText(IDC_ARR_PREVIEW_PROGRAMS), "Programs: game.exe 30 min; homework.exe 1 h, outside the day's limits.");
    SelectDay(3);
    Press(IDC_ARR_FREE);
    Shot("editor-programs");
    EXPECT_FALSE(m_pDlg->m_bBusy);

    // Cancel leaves the file as it was.
    const BYTES before = m_folder.Read(CProgramRuleStore::kFileName);
    CDialogAnswer cancel(IDC_PROGRAMS_LIST, [](HWND hDlg) {
        ListView_SetItemState(::GetDlgItem(hDlg, IDC_PROGRAMS_LIST), 0, LVIS_SELECTED, LVIS_SELECTED);
        PressIn(hDlg, IDC_PROGRAMS_REMOVE);
        CDialogAnswer::Click(hDlg, IDCANCEL);
    });
    ::SendMessageA(m_hDlg, WM_COMMAND, MAKEWPARAM(IDC_ARR_PROGRAMS, BN_CLICKED), 0);
    EXPECT_EQ(cancel.m_nAnswered, 1);
    EXPECT_EQ(m_folder.Read(CProgramRuleStore::kFileName), before);
}

// The history window lists each program's minutes per day: today's from programs.use, the days
// before from history.csv, newest first.
TEST_F(Editor, TheHistoryListsEachProgramsMinutesPerDay) {
    const std::string strFile = std::string(CHistoryFile::kProgramHeader) +
                                "\r\n2026-02-27,Tom,30,90,1,0\r\n2026-02-27,Tom,30,30,2,,game.exe\r\n"
                                "2026-02-28,Tom,95,,0,,homework.exe\r\n2026-02-28,Ann,10,10,0,,game.exe\r\n";
    m_folder.Write(CHistoryFile::kFileName, BYTES(strFile.begin(), strFile.end()));
    CProgramUseStore use;
    use.ForDate("Tom", "game.exe", 20260301) = {"Tom", "game.exe", 20260301, 12 * 60 + 30, 0};
    ASSERT_TRUE(use.Save());
    PROGRAM_RULE game;
    game.strProgram = "game.exe";
    game.nMinutes.fill(30);
    CProgramRuleStore rules;
    rules.ReplaceUser("Tom", {game});
    ASSERT_TRUE(rules.Save());
    Open();
    std::vector<std::string> rows;
    CDialogAnswer look(IDC_HISTORY_PROGRAMS, [&rows](HWND hDlg) {
        HWND hList = ::GetDlgItem(hDlg, IDC_HISTORY_PROGRAMS);
        for (int nRow = 0; nRow < ListView_GetItemCount(hList); ++nRow) rows.push_back(ListRow(hList, nRow, 5));
        ShotOfDialog(hDlg, "history-programs.bmp");
        CDialogAnswer::Click(hDlg, IDOK);
    });
    ::SendMessageA(m_hDlg, WM_COMMAND, MAKEWPARAM(IDC_ARR_HISTORY, BN_CLICKED), 0);
    ASSERT_EQ(look.m_nAnswered, 1);
    EXPECT_EQ(rows, (std::vector<std::string>{"today | game.exe | 12 | 30 | ",
                                              "2026-02-28 | homework.exe | 95 | no limit | ",
                                              "2026-02-27 | game.exe | 30 | 30 | 2 times"}));
}
