// The clock's local calendar and the crash-safe file replacement that every part relies on.
#include <gtest/gtest.h>

#include "seams/Clock.h"
#include "seams/DataFolder.h"
#include "seams/Files.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"

TEST(Clock, FakeClockReplacesNowAndIsRemovedAgain) {
    {
        CFakeClock clock(1000);
        EXPECT_EQ(CClock::Now(), 1000);
        clock.Advance(5);
        EXPECT_EQ(CClock::Now(), 1005);
    }
    EXPECT_GT(CClock::Now(), 1700000000);  // the system clock again
}

TEST(Clock, LocalFieldsAndBackAcrossDaylightSavingChanges) {
    CTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    // 2026-03-29 is the spring change: 02:00 becomes 03:00, so that day has 23 hours.
    const TIMESECS tBefore = CClock::MakeLocal(2026, 3, 29, 0, 0, 0);
    const TIMESECS tAfter = CClock::MakeLocal(2026, 3, 30, 0, 0, 0);
    EXPECT_EQ(tAfter - tBefore, 23 * 3600);
    const CLocalTime lt = CClock::ToLocal(CClock::MakeLocal(2026, 3, 29, 12, 34, 56));
    EXPECT_EQ(lt.nYear, 2026);
    EXPECT_EQ(lt.nMonth, 3);
    EXPECT_EQ(lt.nDay, 29);
    EXPECT_EQ(lt.nHour, 12);
    EXPECT_EQ(lt.nMinute, 34);
    EXPECT_EQ(lt.nSecond, 56);
    EXPECT_EQ(lt.nWeekday, 0);  // a Sunday
    // The autumn change day has 25 hours.
    EXPECT_EQ(CClock::MakeLocal(2026, 10, 26, 0, 0, 0) - CClock::MakeLocal(2026, 10, 25, 0, 0, 0), 25 * 3600);
}

TEST(Clock, SameDateComparesYearMonthAndDay) {
    CTimeZone zone("UTC0");
    const TIMESECS tMarch31 = CClock::MakeLocal(2026, 3, 31, 10, 0, 0);
    EXPECT_TRUE(CClock::IsSameDate(tMarch31, CClock::MakeLocal(2026, 3, 31, 23, 59, 59)));
    EXPECT_FALSE(CClock::IsSameDate(tMarch31, CClock::MakeLocal(2026, 5, 31, 10, 0, 0)));
    EXPECT_FALSE(CClock::IsSameDate(tMarch31, CClock::MakeLocal(2027, 3, 31, 10, 0, 0)));
    EXPECT_FALSE(CClock::IsSameDate(CClock::MakeLocal(2026, 3, 31, 23, 59, 59), CClock::MakeLocal(2026, 4, 1, 0, 0, 0)));
}

TEST(Files, ReplaceAllPutsTheWholeImageInPlaceAndLeavesNoTemporaryFile) {
    CTempFolder folder;
    IFileSystem& files = CFiles::Get();
    const std::string strPath = CDataFolder::PathOf("prj.nam");
    ASSERT_TRUE(files.ReplaceAll(strPath, BYTES{1, 2, 3}));
    ASSERT_TRUE(files.ReplaceAll(strPath, BYTES{4, 5}));
    EXPECT_EQ(folder.Read("prj.nam"), (BYTES{4, 5}));
    EXPECT_FALSE(folder.Exists("prj.nam.new"));
    EXPECT_EQ(files.SizeOf(strPath), 2);
    EXPECT_EQ(files.SizeOf(CDataFolder::PathOf("missing")), -1);
    // An empty image is a file of 0 bytes, not a missing file.
    ASSERT_TRUE(files.ReplaceAll(strPath, BYTES{}));
    EXPECT_EQ(files.SizeOf(strPath), 0);
}

TEST(Files, ReplaceAllThatCannotWriteLeavesTheOldFileAndSaysSo) {
    CTempFolder folder;
    IFileSystem& files = CFiles::Get();
    EXPECT_FALSE(files.ReplaceAll(folder.PathOf("no-such-folder/prj.nam"), BYTES{1}));
    BYTES bytes;
    EXPECT_FALSE(files.ReadAll(folder.PathOf("missing"), bytes));
}

TEST(Files, ALeftoverTemporaryFileIsOverwrittenByTheNextSave) {
    CTempFolder folder;
    folder.Write("use.sta.new", BYTES(1000, 0xEE));
    ASSERT_TRUE(CFiles::Get().ReplaceAll(CDataFolder::PathOf("use.sta"), BYTES{7}));
    EXPECT_EQ(folder.Read("use.sta"), BYTES{7});
    EXPECT_FALSE(folder.Exists("use.sta.new"));
}
