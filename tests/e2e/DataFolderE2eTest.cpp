// A data folder as the 32-bit program left it: every file laid out byte for byte at its documented
// offsets (not through the program's own record code), with its second copy in the registry. The
// 64-bit program reads it, counts on from it and saves it, and loses nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "core/store/PasswordField.h"
#include "E2eSupport.h"

namespace {

// A byte image built field by field, little-endian.
class CImage {
public:
    CImage& Text(const std::string& strText, std::size_t nWidth) {
        const std::size_t nAt = m_bytes.size();
        m_bytes.resize(nAt + nWidth, 0xCC);
        std::memcpy(m_bytes.data() + nAt, strText.c_str(), strText.size() + 1);
        return *this;
    }
    CImage& Int(std::int32_t n) {
        for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(n) >> (8 * i)));
        return *this;
    }
    CImage& Bytes(const void* p, std::size_t n) {
        m_bytes.insert(m_bytes.end(), static_cast<const std::uint8_t*>(p), static_cast<const std::uint8_t*>(p) + n);
        return *this;
    }
    CImage& Fill(std::uint8_t nByte, std::size_t n) {
        m_bytes.insert(m_bytes.end(), n, nByte);
        return *this;
    }
    CImage& Password(const std::string& strPassword) {
        std::uint8_t field[32] = {};
        CPasswordField::Store(strPassword, field);
        return Bytes(field, sizeof field);
    }
    // One day of an arrangement: the tag and the thirteen fields.
    CImage& Day(std::int32_t nTotalHours) {
        Int(0x00459894);
        for (std::int32_t n : {1, nTotalHours, 0, 0, 25, 10, 0, 7, 30, 22, 0, 0, 0}) Int(n);
        return *this;
    }
    const BYTES& Get() const { return m_bytes; }

private:
    BYTES m_bytes;
};

std::int32_t ReadInt(const BYTES& bytes, std::size_t nAt) {
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | bytes.at(nAt + i);
    return static_cast<std::int32_t>(n);
}

void Write(const CProgramUnderTest& program, const std::string& strFile, const BYTES& bytes) {
    ASSERT_TRUE(CFiles::Get().ReplaceAll(program.PathOf(strFile), bytes)) << strFile;
}

// The registry copy the program keeps of a record file.
void WriteCopy(const std::string& strFile, const BYTES& bytes) {
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quenby", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                                nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(hKey, strFile.c_str(), 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    ::RegCloseKey(hKey);
}

// Waits, when midnight is a few minutes away, until the new day has begun: the scenario compares
// the records of one date.
void AwayFromMidnight() {
    const CLocalTime now = CClock::ToLocal(CClock::Now());
    if (now.nHour == 23 && now.nMinute >= 56)
        WaitFor([&] { return CClock::ToLocal(CClock::Now()).nDay != now.nDay; }, 5 * 60 * 1000);
}

}  // namespace

TEST(DataFolder, AFolderOfThe32BitProgramIsReadUsedAndSavedWithoutLoss) {
    AwayFromMidnight();
    CProgramUnderTest program;
    const TIMESECS tNow = CClock::Now();
    const CLocalTime today = CClock::ToLocal(tNow);
    const std::int32_t nToday = today.nYear * 10000 + today.nMonth * 100 + today.nDay;

    // parent.nam: its reserved fields carry bytes the program must keep.
    const BYTES parent = CImage()
                             .Text("Administrator", 128)
                             .Password("pw")
                             .Fill(0x5A, 16)
                             .Int(1)   // has a password
                             .Int(0)   // no auto-run
                             .Int(0)   // no first run pending
                             .Fill(0xA5, 8)
                             .Int(1)   // opaque lock background
                             .Get();
    const BYTES child = CImage().Text("kid", 128).Password("").Int(0).Int(25).Int(0).Get();
    CImage week;
    week.Text("kid", 128);
    for (int n = 0; n < 7; ++n) week.Day(2);
    const BYTES prj = week.Get();
    // Ten minutes used today, saved two minutes ago with the day's arrangement; the mini window
    // switched off and placed at (40, 50).
    const BYTES use = CImage()
                          .Text("kid", 128)
                          .Int(600)
                          .Int(7200 - 600)
                          .Int(-1)
                          .Int(-1)
                          .Int(static_cast<std::int32_t>(tNow - 120))
                          .Day(2)
                          .Int(2)  // in use
                          .Int(0)
                          .Int(40)
                          .Int(50)
                          .Get();
    const BYTES extra = CImage().Text("kid", 128).Int(nToday).Int(900).Int(300).Int(1).Get();
    const std::string strHistory =
        "date,child,minutes used,minutes allowed,locks,extra minutes\r\n2020-01-06,kid,85,120,4,15\r\n";
    const std::string strEvents = "2020-01-06 18:00:00\tlogin\tAdministrator\t\r\n";
    ASSERT_EQ(parent.size(), 200u);
    ASSERT_EQ(child.size(), 172u);
    ASSERT_EQ(prj.size(), 520u);
    ASSERT_EQ(use.size(), 220u);
    ASSERT_EQ(extra.size(), 144u);
    for (const auto& [strFile, bytes] : {std::pair<std::string, BYTES>{"parent.nam", parent},
                                         {"child.nam", child},
                                         {"prj.nam", prj},
                                         {"use.sta", use},
                                         {"extra.tim", extra},
                                         {"userinfo.aur", BYTES()},
                                         {"winnodes.tmp", BYTES()}}) {
        Write(program, strFile, bytes);
        WriteCopy(strFile, bytes);
    }
    Write(program, "history.csv", BYTES(strHistory.begin(), strHistory.end()));
    Write(program, "events.log", BYTES(strEvents.begin(), strEvents.end()));

    // The child logs in: the day's arrangement and the ten minutes are read.
    const DWORD nPid = program.Start();
    HWND hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr) << "the child of the 32-bit folder could not log in";
    const std::string strSettings = CProgramUnderTest::ItemText(hStatus, IDC_STATUS_SETTINGS_TEXT);
    EXPECT_NE(strSettings.find("2 hours"), std::string::npos) << strSettings;
    ASSERT_TRUE(WaitFor([&] { return UsedSecondsShown(hStatus) >= 602; }, 20000))
        << "the use of the day was not taken over: " << UsedSecondsShown(hStatus);
    program.Screenshot("data-folder-32-bit-child");

    // Switching user saves the use: one record, grown, with everything else kept.
    CProgramUnderTest::Click(hStatus, IDC_STATUS_SWITCH);
    HWND hLock = program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid);
    ASSERT_NE(hLock, nullptr) << "no lock screen after switch user";
    ASSERT_TRUE(WaitFor([&] { return ReadInt(program.ReadFile("use.sta"), 128) >= 602; }, 10000))
        << "the use was not saved";
    const BYTES saved = program.ReadFile("use.sta");
    ASSERT_EQ(saved.size(), 220u);
    EXPECT_TRUE(std::equal(use.begin(), use.begin() + 128, saved.begin())) << "the name field changed";
    const std::int32_t nUsed = ReadInt(saved, 128);
    EXPECT_LE(nUsed, 600 + 300);
    EXPECT_EQ(ReadInt(saved, 132), 7200 - nUsed) << "the total left";
    EXPECT_GE(ReadInt(saved, 144), static_cast<std::int32_t>(tNow)) << "the time of the save";
    EXPECT_TRUE(std::equal(use.begin() + 148, use.begin() + 204, saved.begin() + 148)) << "the day's arrangement";
    EXPECT_EQ(ReadInt(saved, 208), 0) << "the mini window stays off";
    EXPECT_EQ(ReadInt(saved, 212), 40);
    EXPECT_EQ(ReadInt(saved, 216), 50);

    // The parent's password of the 32-bit folder opens the editor.
    HWND hEditor = LogIn(program, nPid, "Administrator", "pw");
    if (!hEditor) {
        // Events since the parent's last login are listed first.
        if (HWND hEvents = program.WaitForWindow(IDC_EVENTS_LIST, 5000, nPid)) CProgramUnderTest::Click(hEvents, IDOK);
        hEditor = program.WaitForWindow(IDC_ARR_WEEK, 10000, nPid);
    }
    ASSERT_NE(hEditor, nullptr) << "the Administrator's password was not taken";
    CProgramUnderTest::Pause(800);
    program.Screenshot("data-folder-32-bit-editor");

    // The files nothing changed are the same bytes; the others keep what they held.
    EXPECT_EQ(program.ReadFile("parent.nam"), parent);
    EXPECT_EQ(program.ReadFile("child.nam"), child);
    EXPECT_EQ(program.ReadFile("prj.nam"), prj);
    const BYTES extraNow = program.ReadFile("extra.tim");
    ASSERT_EQ(extraNow.size(), 144u);
    EXPECT_TRUE(std::equal(extra.begin(), extra.begin() + 136, extraNow.begin())) << "name, date and the grant";
    EXPECT_EQ(ReadInt(extraNow, 136), 300) << "the extra time left";
    EXPECT_EQ(ReadInt(extraNow, 140), 1) << "the day's locks";
    const BYTES history = program.ReadFile("history.csv");
    EXPECT_EQ(std::string(history.begin(), history.end()).rfind(strHistory, 0), 0u) << "the history's lines are kept";
    const BYTES events = program.ReadFile("events.log");
    EXPECT_EQ(std::string(events.begin(), events.end()).rfind(strEvents, 0), 0u) << "the old events are kept";
}
