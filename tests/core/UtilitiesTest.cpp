// The shared helpers: fixed-width fields, line breaks, file sizes and the same-day test.
#include <gtest/gtest.h>

#include "core/rules/KeyRules.h"
#include "core/store/RecordField.h"
#include "core/texts/Utilities.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"

TEST(Utilities, CopyToFieldFillsCutsAndTerminates) {
    unsigned char field[8];
    EXPECT_EQ(CopyToField("abc", field, sizeof field), 3);
    EXPECT_EQ(BYTES(field, field + 8), (BYTES{'a', 'b', 'c', 0, 0xCC, 0xCC, 0xCC, 0xCC}));
    EXPECT_EQ(CopyToField("abcdefghij", field, sizeof field), 7);
    EXPECT_EQ(BYTES(field, field + 8), (BYTES{'a', 'b', 'c', 'd', 'e', 'f', 'g', 0}));
    EXPECT_EQ(CopyToField("", field, 1), 0);
    EXPECT_EQ(field[0], 0);
    EXPECT_EQ(ReadField("abc\0def", 7), "abc");
    EXPECT_EQ(ReadField("abcdefg", 4), "abcd");  // a field without terminator ends at its width
}

TEST(Utilities, FieldTextIsWhatTheFieldGivesBack) {
    const struct {
        std::string strText;
        std::size_t nWidth;
        std::string strStored;
    } cases[] = {
        {"Tom", 128, "Tom"},
        {std::string(127, 'a'), 128, std::string(127, 'a')},
        {std::string(128, 'a'), 128, std::string(127, 'a')},
        {std::string("ab\0cd", 5), 128, "ab"},
        {"abc", 1, ""},
        {"abc", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strText.size());
        EXPECT_EQ(FieldText(c.strText, c.nWidth), c.strStored);
        if (c.nWidth) {
            std::string field(c.nWidth, '?');
            CopyToField(c.strText, field.data(), c.nWidth);
            EXPECT_EQ(ReadField(field.data(), c.nWidth), c.strStored);
        }
    }
}

TEST(Utilities, TrimmedDropsBlanksAtBothEndsOnly) {
    EXPECT_EQ(Trimmed(" \t Tom Lee\r\n "), "Tom Lee");
    EXPECT_EQ(Trimmed(" \t\r\n"), "");
    EXPECT_EQ(Trimmed(""), "");
    EXPECT_EQ(Trimmed("30"), "30");
}

TEST(Utilities, CountLineBreaksCountsCrLfPairsOnly) {
    const struct {
        const char* pszText;
        int nBreaks;
    } cases[] = {
        {"", 0},         {"one\r\ntwo\r\n", 2}, {"\n\r", 0},         {"\r\r\n\n", 1},
        {"\r\n\r\n", 2}, {"a\nb\rc", 0},        {"\r\n\n\r\r\n", 2},
    };
    for (const auto& c : cases) EXPECT_EQ(CountLineBreaks(c.pszText), c.nBreaks) << '"' << c.pszText << '"';
}

TEST(Utilities, GetFileSizeOfEmptyAndMissingFiles) {
    CTempFolder folder;
    folder.Write("empty", BYTES{});
    folder.Write("three", BYTES{1, 2, 3});
    EXPECT_EQ(GetFileSize(folder.PathOf("empty")), 0);
    EXPECT_EQ(GetFileSize(folder.PathOf("three")), 3);
    EXPECT_EQ(GetFileSize(folder.PathOf("missing")), -1);
}

TEST(Utilities, IsSameDayComparesLocalDates) {
    CTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_FALSE(IsSameDay(CClock::MakeLocal(2026, 6, 1, 23, 59, 59), CClock::MakeLocal(2026, 6, 2, 0, 0, 0)));
    EXPECT_TRUE(IsSameDay(CClock::MakeLocal(2026, 6, 1, 0, 0, 0), CClock::MakeLocal(2026, 6, 1, 23, 59, 59)));
    // 23:30 UTC on 1 June is already 2 June in this zone.
    EXPECT_TRUE(IsSameDay(CClock::MakeLocal(2026, 6, 2, 0, 0, 0), 1780356600));
    // Same day of the month in another month is another day.
    EXPECT_FALSE(IsSameDay(CClock::MakeLocal(2026, 6, 1, 12, 0, 0), CClock::MakeLocal(2026, 7, 1, 12, 0, 0)));
}

TEST(KeyRules, TheLockKeepsTheWindowsKeysAndTheSwitchingCombinationsOnly) {
    EXPECT_TRUE(CKeyRules::IsSwallowed(CKeyRules::kLeftWin, false, false));
    EXPECT_TRUE(CKeyRules::IsSwallowed(CKeyRules::kRightWin, false, false));
    EXPECT_TRUE(CKeyRules::IsSwallowed(CKeyRules::kTab, true, false)) << "Alt+Tab";
    EXPECT_TRUE(CKeyRules::IsSwallowed(CKeyRules::kEscape, true, false)) << "Alt+Esc";
    EXPECT_TRUE(CKeyRules::IsSwallowed(CKeyRules::kEscape, false, true)) << "Ctrl+Esc and Ctrl+Shift+Esc";
    EXPECT_FALSE(CKeyRules::IsSwallowed(CKeyRules::kTab, false, false)) << "Tab moves between the login's fields";
    EXPECT_FALSE(CKeyRules::IsSwallowed(CKeyRules::kEscape, false, false));
    EXPECT_FALSE(CKeyRules::IsSwallowed('A', true, true));
}
