// use.sta, byte for byte, and the usage of a day across log-outs and restarts.
#include <gtest/gtest.h>

#include "core/store/RecordWriter.h"
#include "EngineDriver.h"
#include "support/FailingFiles.h"
#include "support/TempFolder.h"
#include "support/TimeZone.h"

namespace {

USAGE_RECORD Record(const std::string& strUser, std::int32_t nUsed, TIMESECS tSaved) {
    USAGE_RECORD context;
    context.strUser = strUser;
    context.nUsedSecs = nUsed;
    context.nTotalSecsLeft = 5400 - nUsed;
    context.nUseSecsBeforeRest = 1500;
    context.nRestSecsLeft = -1;
    context.tLastSave = tSaved;
    context.nStateId = STATE_ALLOWED;
    context.nMiniX = 300;
    context.nMiniY = -20;
    return context;
}

BYTES Image(std::uint32_t uSaved) {
    CRecordWriter w;
    w.PutText("kid", 128);
    for (std::int32_t n : {100, 5300, 1500, -1}) w.PutInt32(n);
    w.PutUInt32(uSaved);
    w.PutInt32(0x00459894);
    for (std::int32_t n : {1, 1, 30, 1, 25, 10, 1, 7, 30, 22, 0, 0, 0}) w.PutInt32(n);
    for (std::int32_t n : {2, 1, 300, -20}) w.PutInt32(n);
    return w.Bytes();
}

}  // namespace

TEST(UsageStore, RecordIsWrittenByteForByte) {
    CTempFolder folder;
    CUsageStore store;
    store.Add(Record("kid", 100, 1778580000));
    ASSERT_TRUE(store.Save());
    const BYTES bytes = folder.Read("use.sta");
    ASSERT_EQ(bytes.size(), 220u);
    EXPECT_EQ(bytes, Image(1778580000));
}

TEST(UsageStore, SaveTimeIsAnUnsignedCount) {
    CTempFolder folder;
    // A time of today reads as it always did; times past January 2038 keep working.
    for (const TIMESECS t : {TIMESECS(1778580000), TIMESECS(0x7FFFFFFF), TIMESECS(0x80000000), TIMESECS(4000000000)}) {
        folder.Write("use.sta", Image(static_cast<std::uint32_t>(t)));
        CUsageStore store;
        ASSERT_TRUE(store.Load());
        EXPECT_EQ(store.Find("kid")->tLastSave, t);
        ASSERT_TRUE(store.Save());
        EXPECT_EQ(folder.Read("use.sta"), Image(static_cast<std::uint32_t>(t)));
    }
}

TEST(UsageStore, RecordsComeBackInOrderAndTheFirstOfTwoNamesCounts) {
    CTimeZone zone("UTC0");
    CTempFolder folder;
    CFakeClock clock(CClock::MakeLocal(2026, 5, 12, 9, 0, 0));
    // Both of kid's records are from today, and the second counts more use: it is still the first
    // that counts, through the merge with the copy and with what the store already held.
    CUsageStore store;
    store.Add(Record("kid", 100, clock.Now() - 60));
    store.Add(Record("ann", 200, clock.Now() - 50));
    store.Add(Record("kid", 300, clock.Now() - 40));
    ASSERT_TRUE(store.Save());
    const BYTES before = folder.Read("use.sta");

    CUsageStore loaded;
    for (int nLoad = 1; nLoad <= 2; ++nLoad) {
        ASSERT_TRUE(loaded.Load());
        ASSERT_EQ(loaded.GetList().size(), 3u) << "load " << nLoad;
        EXPECT_EQ(loaded.Find("kid")->nUsedSecs, 100) << "load " << nLoad;
        EXPECT_EQ(loaded.GetList().back().nUsedSecs, 300) << "load " << nLoad << ": the second is carried along";
    }
    ASSERT_TRUE(loaded.Save());
    EXPECT_EQ(folder.Read("use.sta"), before);
    EXPECT_TRUE(loaded.Exists("ann"));
    EXPECT_FALSE(loaded.Exists("Ann"));
    EXPECT_EQ(loaded.Find("nobody"), nullptr);

    loaded.Remove("kid");
    ASSERT_TRUE(loaded.Save());
    const BYTES after = folder.Read("use.sta");
    EXPECT_EQ(after, BYTES(before.begin() + 220, before.end()));
    loaded.Remove("nobody");
    EXPECT_EQ(loaded.GetList().size(), 2u);
}

TEST(UsageStore, TagOfTheDayCopyIsIgnored) {
    CTempFolder folder;
    BYTES image = Image(1000);
    image[148] = 0x11, image[149] = 0x22, image[150] = 0x33, image[151] = 0x44;
    folder.Write("use.sta", image);
    CUsageStore store;
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.Find("kid")->prjCopy, CDayPrj());
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(folder.Read("use.sta"), Image(1000));
}

TEST(UsageStore, TrailingFragmentIsDropped) {
    CTempFolder folder;
    BYTES image = Image(1000);
    const BYTES second = Image(2000);
    image.insert(image.end(), second.begin(), second.begin() + 150);
    folder.Write("use.sta", image);
    CUsageStore store;
    ASSERT_TRUE(store.Load());
    ASSERT_EQ(store.GetList().size(), 1u);
    EXPECT_EQ(store.GetList().front().tLastSave, 1000);
}

TEST(UsageStore, MissingOrEmptyFileLeavesTheListAlone) {
    CTempFolder folder;
    CUsageStore store;
    store.Add(Record("kid", 1, 1));
    EXPECT_FALSE(store.Load());
    folder.Write("use.sta", BYTES{});
    EXPECT_FALSE(store.Load());
    EXPECT_TRUE(store.Exists("kid"));
}

TEST(UsageStore, AFileThatCannotBeReadIsNotLoadedAsAShorterList) {
    CTempFolder folder;
    BYTES image = Image(1000);
    const BYTES second = Image(2000);
    image.insert(image.end(), second.begin(), second.end());
    folder.Write("use.sta", image);
    CUsageStore store;
    store.Add(Record("kid", 1, 1));
    CFailingFiles failing;
    failing.Fail(CFailingFiles::kRead, 300);  // the first record read, the second not
    EXPECT_FALSE(store.Load());
    ASSERT_EQ(store.GetList().size(), 1u) << "the list in memory stays as it was";
    EXPECT_TRUE(store.Exists("kid"));
}

TEST(UsageStore, FailedSaveKeepsTheOldFileAndTheNextSaveCatchesUp) {
    CTimeZone zone("UTC0");
    CTempFolder folder;
    CFakeClock clock(CClock::MakeLocal(2026, 5, 12, 9, 0, 0));
    {
        CPrjStore prj;
        prj.Add(CUserPrj("kid"));
        prj.Save();
    }
    CEngineDriver kid(clock);
    kid.Login("kid");
    kid.Ticks(60);
    const BYTES before = folder.Read("use.sta");
    {
        CFailingFiles files;
        files.FailAfter(100);
        kid.Ticks(60);  // the save at the second minute fails
        EXPECT_EQ(folder.Read("use.sta"), before);
    }
    kid.Ticks(60);
    CUsageStore reread;
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(reread.Find("kid")->nUsedSecs, 180);
}

TEST(UsageStore, FirstLoginAppendsARecordAtOnce) {
    CTimeZone zone("UTC0");
    CTempFolder folder;
    CFakeClock clock(CClock::MakeLocal(2026, 5, 12, 9, 0, 0));
    CUsageStore others;
    others.Add(Record("ann", 5, 5));
    others.Save();

    CEngineDriver kid(clock);
    kid.Mini().nX = 7;  // a place the window has not been given: the login takes the stored one
    kid.Login("kid");
    const BYTES bytes = folder.Read("use.sta");
    ASSERT_EQ(bytes.size(), 440u);
    CUsageStore reread;
    reread.Load();
    EXPECT_EQ(reread.GetList().front().strUser, "ann");
    const USAGE_RECORD& record = *reread.Find("kid");
    EXPECT_EQ(record.nStateId, STATE_ALLOWED);
    EXPECT_EQ(record.tLastSave, clock.Now());
    EXPECT_EQ(record.nMiniX, -99999);
    EXPECT_EQ(record.bShowMini, 1);
}

TEST(UsageStore, UsageSurvivesARestartOfTheProgram) {
    CTimeZone zone("UTC0");
    CTempFolder folder;
    CFakeClock clock(CClock::MakeLocal(2026, 5, 12, 9, 0, 0));
    {
        CEngineDriver kid(clock);
        kid.Login("kid");
        kid.Ticks(130);
        kid.Mini().nX = 640, kid.Mini().nY = 12;
        kid.Logout();
    }
    clock.Advance(30);
    {
        CEngineDriver kid(clock);
        kid.Login("kid", true);
        EXPECT_EQ(kid.State(), STATE_ALLOWED);
        EXPECT_EQ(kid.Context().UsedSecs(), 130);
        EXPECT_EQ(kid.Context().Mini().nX, 640);
        kid.Ticks(70);  // the save at the 60th tick counts; the last 10 seconds are lost in a crash
    }
    clock.Advance(5);
    CEngineDriver kid(clock);
    kid.Login("kid", true);
    EXPECT_EQ(kid.Context().UsedSecs(), 190);
    EXPECT_EQ(kid.Context().Mini().nY, 12);

    // Not in the active-user list (the program restarted after a log-out): a fresh start that still
    // counts today's use.
    CEngineDriver fresh(clock);
    fresh.Login("kid", false);
    EXPECT_EQ(fresh.Context().UsedSecs(), 190);
    EXPECT_EQ(fresh.Context().UseSecsBeforeRest(), 1500);
}
