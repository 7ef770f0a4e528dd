// The day arrangement: its summary line and prj.nam, byte for byte.
#include <gtest/gtest.h>

#include "core/store/PrjStore.h"
#include "core/store/RecordWriter.h"
#include "support/FailingFiles.h"
#include "support/TempFolder.h"

namespace {

// The image of one day record: the tag and thirteen values.
void PutDay(CRecordWriter& writer, std::initializer_list<std::int32_t> values) {
    writer.PutInt32(0x00459894);
    for (std::int32_t n : values) writer.PutInt32(n);
}

const std::initializer_list<std::int32_t> DEFAULT_DAY = {1, 1, 30, 1, 25, 10, 1, 7, 30, 22, 0, 0, 0};

BYTES Slice(const BYTES& bytes, std::size_t nFrom, std::size_t nCount) {
    return BYTES(bytes.begin() + nFrom, bytes.begin() + nFrom + nCount);
}

}  // namespace

TEST(DayPrj, SummaryWordsEachModeAndLimit) {
    struct Case {
        const char* pszName;
        void (*adjust)(CDayPrj&);
        const char* pszSummary;
    };
    const Case cases[] = {
        {"default", [](CDayPrj&) {},
         "Use no more than 1 hour 30 minutes all day; Rest 10 minutes every 25 minutes; Use between 07:30 to 22:00."},
        {"forbid wins over free", [](CDayPrj& d) { d.m_bForbid = 1, d.m_bFree = 1; }, "Prohibit the use of this computer."},
        {"free", [](CDayPrj& d) { d.ClearLimits(), d.m_bFree = 1; }, "Free use of this computer."},
        {"no limit on", [](CDayPrj& d) { d.ClearLimits(); }, "."},
        {"total only, whole hours", [](CDayPrj& d) { d.ClearLimits(), d.m_bTotalLimit = 1, d.m_nTotalHours = 2, d.m_nTotalMinutes = 0; },
         "Use no more than 2 hours all day."},
        {"rest of 90 minutes stays in minutes", [](CDayPrj& d) { d.ClearLimits(), d.m_bRest = 1, d.m_nRestMinutes = 1, d.m_nRestEvery = 90; },
         "Rest 1 minute every 90 minutes."},
        {"period and rest", [](CDayPrj& d) { d.m_bTotalLimit = 0, d.m_nStartHour = 6, d.m_nStartMinute = 5, d.m_nEndHour = 9, d.m_nEndMinute = 7; },
         "Rest 10 minutes every 25 minutes; Use between 06:05 to 09:07."},
    };
    for (const Case& c : cases) {
        CDayPrj day;
        c.adjust(day);
        EXPECT_EQ(day.GetSummary(), c.pszSummary) << c.pszName;
    }
}

TEST(DayPrj, ClearLimitsKeepsValuesAndModes) {
    CDayPrj day;
    day.m_bFree = 1;
    day.ClearLimits();
    CDayPrj expected;
    expected.m_bTotalLimit = expected.m_bRest = expected.m_bPeriod = 0;
    expected.m_bFree = 1;
    EXPECT_EQ(day, expected);
}

TEST(PrjStore, DefaultWeekIsWrittenByteForByte) {
    CTempFolder folder;
    CPrjStore store;
    store.Add(CUserPrj("kid"));
    ASSERT_TRUE(store.Save());

    CRecordWriter expected;
    expected.PutText("kid", 128);
    for (int i = 0; i < 7; ++i) PutDay(expected, DEFAULT_DAY);
    const BYTES bytes = folder.Read("prj.nam");
    ASSERT_EQ(bytes.size(), 520u);
    EXPECT_EQ(bytes, expected.Bytes());
    EXPECT_EQ(Slice(bytes, 0, 4), (BYTES{'k', 'i', 'd', 0}));
    EXPECT_EQ(Slice(bytes, 4, 124), BYTES(124, 0xCC));
}

TEST(PrjStore, WeeksSurviveSaveAndLoadInOrder) {
    CTempFolder folder;
    CPrjStore store;
    CUserPrj anna("anna");
    anna.m_days[0].m_bForbid = 1;
    anna.m_days[6].m_nEndHour = 21;
    anna.m_days[3].m_nTotalMinutes = -5;  // values are not checked here
    store.Add(anna);
    store.Add(CUserPrj("ben"));
    ASSERT_TRUE(store.Save());

    CPrjStore loaded;
    ASSERT_TRUE(loaded.Load());
    ASSERT_EQ(loaded.GetList().size(), 2u);
    EXPECT_EQ(loaded.GetList().front().m_strUser, "anna");
    EXPECT_EQ(loaded.GetList().back().m_strUser, "ben");
    for (int i = 0; i < 7; ++i) EXPECT_EQ(loaded.Find("anna")->m_days[i], anna.m_days[i]) << "weekday " << i;
}

TEST(PrjStore, ShortFileKeepsDefaultsForWhatIsMissing) {
    CTempFolder folder;
    CDayPrj changed;
    changed.m_nRestEvery = 40;
    changed.m_bPeriod = 0;

    CRecordWriter image;
    image.PutText("kid", 128);
    for (int i = 0; i < 3; ++i) changed.WriteRecord(image);
    folder.Write("prj.nam", image.Bytes());  // 128 + 3 * 56 bytes

    CPrjStore store;
    ASSERT_TRUE(store.Load());
    ASSERT_EQ(store.GetList().size(), 1u);
    const CUserPrj& kid = *store.Find("kid");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(kid.m_days[i], changed) << "weekday " << i;
    for (int i = 3; i < 7; ++i) EXPECT_EQ(kid.m_days[i], CDayPrj()) << "weekday " << i;

    // Cut inside the fourth day's sixth field: the fields wholly read count, the rest keep defaults.
    changed.WriteRecord(image);
    const BYTES cut = Slice(image.Bytes(), 0, 128 + 3 * 56 + 4 + 5 * 4 + 2);
    folder.Write("prj.nam", cut);
    ASSERT_TRUE(store.Load());
    CDayPrj partial;
    partial.m_nRestEvery = 40;  // field 5 was read; m_bPeriod (field 7) was not
    EXPECT_EQ(store.Find("kid")->m_days[3], partial);
    EXPECT_EQ(store.GetList().size(), 1u);

    // A block cut inside the name still adds the user, with a default week.
    folder.Write("prj.nam", BYTES{'z', 'o', 'e'});
    ASSERT_TRUE(store.Load());
    ASSERT_NE(store.Find("zoe"), nullptr);
    EXPECT_EQ(store.Find("zoe")->m_days[5], CDayPrj());
}

TEST(PrjStore, TagIsIgnoredOnReading) {
    CTempFolder folder;
    CRecordWriter image;
    image.PutText("kid", 128);
    for (int i = 0; i < 7; ++i) {
        image.PutInt32(0x12345678 + i);
        for (std::int32_t n : {0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}) image.PutInt32(n);
    }
    folder.Write("prj.nam", image.Bytes());
    CPrjStore store;
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.Find("kid")->m_days[4].m_bFree, 1);
    EXPECT_EQ(store.Find("kid")->m_days[4].m_nTotalHours, 2);
}

TEST(PrjStore, NamesAreCutTo127BytesAndComparedExactly) {
    CTempFolder folder;
    const std::string str127(127, 'a');
    CPrjStore store;
    store.Add(CUserPrj(str127));
    store.Add(CUserPrj(str127 + "bc"));
    store.Add(CUserPrj("Kid"));
    ASSERT_TRUE(store.Save());
    ASSERT_TRUE(store.Load());
    ASSERT_EQ(store.GetList().size(), 3u);
    for (const CUserPrj& user : store.GetList()) EXPECT_LE(user.m_strUser.size(), 127u);
    EXPECT_EQ(store.GetList().front().m_strUser, str127);
    EXPECT_EQ(store.Find("kid"), nullptr);
    EXPECT_NE(store.Find("Kid"), nullptr);
}

TEST(PrjStore, FirstOfTwoSameNamesIsFoundAndRemoved) {
    CPrjStore store;
    CUserPrj first("kid"), second("kid");
    first.m_days[1].m_bForbid = 1;
    store.Add(first);
    store.Add(CUserPrj("other"));
    store.Add(second);
    EXPECT_EQ(store.Find("kid")->m_days[1].m_bForbid, 1);
    store.Remove("kid");
    ASSERT_EQ(store.GetList().size(), 2u);
    EXPECT_EQ(store.GetList().front().m_strUser, "other");
    EXPECT_EQ(store.Find("kid")->m_days[1].m_bForbid, 0);
    store.Remove("nobody");
    EXPECT_EQ(store.GetList().size(), 2u);
}

TEST(PrjStore, MissingOrEmptyFileLeavesTheListAlone) {
    CTempFolder folder;
    CPrjStore store;
    store.Add(CUserPrj("kid"));
    EXPECT_FALSE(store.Load());
    folder.Write("prj.nam", BYTES{});
    EXPECT_FALSE(store.Load());
    EXPECT_NE(store.Find("kid"), nullptr);
}

TEST(PrjStore, FailedSaveKeepsTheOldFileWhole) {
    CTempFolder folder;
    CPrjStore store;
    store.Add(CUserPrj("kid"));
    ASSERT_TRUE(store.Save());
    const BYTES before = folder.Read("prj.nam");

    CFailingFiles files;
    files.FailAfter(300);
    store.Add(CUserPrj("second"));
    EXPECT_FALSE(store.Save());
    EXPECT_EQ(folder.Read("prj.nam"), before);
}
