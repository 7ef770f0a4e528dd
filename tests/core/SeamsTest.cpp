// The clock's local calendar and the crash-safe file replacement that every part relies on.
#include <gtest/gtest.h>

#include <tuple>

#include "core/seams/Calendar.h"
#include "core/seams/Clock.h"
#include "core/seams/DataFolder.h"
#include "core/seams/Files.h"
#include "support/FakeClock.h"
#include "support/SaveFaults.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"

TEST(Clock, ThePlatformClockReadsTheDateAndItsRunningClockNeverGoesBack) {
    ASSERT_EQ(CClock::Current(), nullptr) << "no test clock installed";
    EXPECT_GT(CClock::Now(), 1700000000) << "a date after 2023";
    EXPECT_LE(CClock::BootTime(), CClock::Now());
    std::int64_t nLast = CClock::RunningMs();
    for (int i = 0; i < 1000; ++i) {
        const std::int64_t nNow = CClock::RunningMs();
        ASSERT_GE(nNow, nLast);
        nLast = nNow;
    }
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

TEST(Files, ASaveThatFailsInAnySystemCallLeavesTheOldFileWholeAndNoTemporaryFile) {
    CTempFolder folder;
    const std::string strPath = CDataFolder::PathOf("use.sta");
    const BYTES old(220, 0x11);
    ASSERT_TRUE(CFiles::Get().ReplaceAll(strPath, old));
    const BYTES image(440, 0x22);
    CFailingFiles failing;
    ForEachSaveFault(failing, image.size(), [&](const std::string& strFault) {
        EXPECT_FALSE(CFiles::Get().ReplaceAll(strPath, image)) << strFault;
        ASSERT_EQ(folder.Read("use.sta"), old) << strFault;
        EXPECT_FALSE(folder.Exists("use.sta.new")) << strFault;
    });
    // With the fault gone the same save goes through.
    ASSERT_TRUE(CFiles::Get().ReplaceAll(strPath, image));
    EXPECT_EQ(folder.Read("use.sta"), image);
}

TEST(Files, AReadThatFailsIsAFailureNotAFileCutShort) {
    CTempFolder folder;
    BYTES image(10000);
    for (std::size_t n = 0; n < image.size(); ++n) image[n] = static_cast<std::uint8_t>(n * 7);
    folder.Write("prj.nam", image);
    CFailingFiles failing;
    for (long long nCut : {0LL, 1LL, 4096LL, 5000LL, 9999LL}) {
        failing.Fail(CFailingFiles::kRead, nCut);
        BYTES bytes{9, 9};
        EXPECT_FALSE(CFiles::Get().ReadAll(CDataFolder::PathOf("prj.nam"), bytes)) << "read failed after " << nCut;
        EXPECT_EQ(bytes, (BYTES{9, 9})) << "nothing of a failed read is handed over";
    }
    failing.Fail(CFailingFiles::kRead, 10001);  // would fail only past the end: the whole file is read
    BYTES bytes;
    EXPECT_TRUE(CFiles::Get().ReadAll(CDataFolder::PathOf("prj.nam"), bytes));
    EXPECT_EQ(bytes, image);
}

TEST(Calendar, AgreesWithTheRuntimeInUtcAndCarriesFieldsOutOfRange) {
    CTimeZone zone("UTC0");
    for (TIMESECS t = -86400LL * 400; t < 86400LL * 365 * 80; t += 86400LL * 7 + 3601) {
        const CLocalTime a = RealClock().ToLocal(t), b = Calendar::Fields(t);
        ASSERT_EQ(std::tie(a.nYear, a.nMonth, a.nDay, a.nHour, a.nMinute, a.nSecond, a.nWeekday),
                  std::tie(b.nYear, b.nMonth, b.nDay, b.nHour, b.nMinute, b.nSecond, b.nWeekday))
            << t;
        ASSERT_EQ(Calendar::Seconds(b.nYear, b.nMonth, b.nDay, b.nHour, b.nMinute, b.nSecond), t);
    }
    EXPECT_EQ(Calendar::Seconds(2026, 12, 32, 0, 0, 0), Calendar::Seconds(2027, 1, 1, 0, 0, 0));
    EXPECT_EQ(Calendar::Seconds(2026, 13, 1, 0, 0, 0), Calendar::Seconds(2027, 1, 1, 0, 0, 0));
    EXPECT_EQ(Calendar::Seconds(2026, 0, 1, 0, 0, 0), Calendar::Seconds(2025, 12, 1, 0, 0, 0));
    EXPECT_EQ(Calendar::Seconds(2024, 2, 29, 24, 0, 0), Calendar::Seconds(2024, 3, 1, 0, 0, 0));
}
