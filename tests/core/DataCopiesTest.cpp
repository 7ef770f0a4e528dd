// The second copies of the data files: every save writes one, a damaged file is restored from it,
// use.sta never gives time back, and failed saves are kept in memory, logged once and retried.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "core/store/ActiveUserList.h"
#include "core/store/AdminAccount.h"
#include "core/store/ChildAccountList.h"
#include "core/store/DataFile.h"
#include "core/store/EventLog.h"
#include "core/store/PrjStore.h"
#include "core/store/UsageStore.h"
#include "support/FailingFiles.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"

namespace {

const TIMESECS kToday = CClock::MakeLocal(2026, 5, 12, 15, 0, 0);
const TIMESECS kYesterday = CClock::MakeLocal(2026, 5, 11, 15, 0, 0);

USAGE_RECORD Used(const std::string& strUser, std::int32_t nUsed, TIMESECS tSaved) {
    USAGE_RECORD record;
    record.strUser = strUser;
    record.nUsedSecs = nUsed;
    record.tLastSave = tSaved;
    return record;
}

// The used seconds the store holds for a child (-1 without a record).
int UsedOf(CUsageStore& store, const std::string& strUser) {
    const USAGE_RECORD* pRecord = store.Find(strUser);
    return pRecord ? pRecord->nUsedSecs : -1;
}

// use.sta as the core writes it for these records (saved once, with copies of its own).
BYTES UsageImage(const std::list<USAGE_RECORD>& records) {
    CUsageStore store;
    for (const USAGE_RECORD& record : records) store.Add(record);
    IDataCopies* pCopies = &CDataCopies::Get();
    CMemoryCopies scratch;
    CDataCopies::Use(&scratch);
    store.Save();
    CDataCopies::Use(pCopies);
    BYTES bytes;
    scratch.Read(CUsageStore::FILE_NAME, bytes);
    return bytes;
}

int CountEvents(const char* pszKind) {
    int nCount = 0;
    for (const EVENT_ENTRY& entry : CEventLog::ReadAll()) nCount += entry.strKind == pszKind;
    return nCount;
}

}  // namespace

TEST(DataCopies, EverySaveWritesTheSameBytesToTheCopyAndADamagedFileIsRestoredFromIt) {
    CTempFolder folder;
    CFakeClock clock{kToday};
    CAdminAccount admin;
    ASSERT_TRUE(admin.SetPassword("pw"));
    admin.m_admin.bFirstRunPending = 0;
    ASSERT_TRUE(admin.Save());
    CChildAccountList children;
    children.Add("Tom");
    ASSERT_TRUE(children.Save());
    CPrjStore weeks;
    weeks.Add(CUserPrj("Tom"));
    ASSERT_TRUE(weeks.Save());
    CActiveUserList active;
    active.Add("Tom");
    ASSERT_TRUE(active.Save());
    CUsageStore usage;
    usage.Add(Used("Tom", 3501, kToday));
    ASSERT_TRUE(usage.Save());
    for (const char* pszFile : CDataFile::kCopiedFiles) {
        SCOPED_TRACE(pszFile);
        BYTES copy;
        ASSERT_TRUE(folder.m_copies.Read(pszFile, copy));
        EXPECT_EQ(copy, folder.Read(pszFile));
    }

    // Deleted, cut short of a record, or cut inside one: each comes back whole from its copy.
    const auto damages = {+[](CTempFolder& f, const char* pszFile) { f.Remove(pszFile); },
                          +[](CTempFolder& f, const char* pszFile) { f.Write(pszFile, BYTES(7, 0x41)); },
                          +[](CTempFolder& f, const char* pszFile) {
                              BYTES bytes = f.Read(pszFile);
                              bytes.pop_back();
                              f.Write(pszFile, bytes);
                          }};
    for (auto damage : damages) {
        for (const char* pszFile : CDataFile::kCopiedFiles) {
            SCOPED_TRACE(pszFile);
            const BYTES whole = folder.Read(pszFile);
            damage(folder, pszFile);
            CAdminAccount admin2;
            CChildAccountList children2;
            CPrjStore weeks2;
            CActiveUserList active2;
            CUsageStore usage2;
            ASSERT_TRUE(admin2.Load() && children2.Load() && weeks2.Load() && active2.Load() && usage2.Load());
            EXPECT_TRUE(admin2.AcceptsPassword("pw"));
            EXPECT_TRUE(children2.Exists("Tom"));
            EXPECT_NE(weeks2.Find("Tom"), nullptr);
            EXPECT_NE(active2.Find("Tom"), nullptr);
            EXPECT_EQ(UsedOf(usage2, "Tom"), 3501);
            EXPECT_EQ(folder.Read(pszFile), whole) << "written back";
        }
    }
    EXPECT_EQ(CountEvents(CEventLog::kRestored), 15);
    EXPECT_NE(CEventLog::ReadAll().back().strDetail.find("restored from its copy"), std::string::npos);
}

TEST(DataCopies, UseStaTakesPerChildTheRecordThatCountsMoreUseToday) {
    CTempFolder folder;
    CFakeClock clock{kToday};
    // The file says less than the copy for Tom (a file put back by hand), more for Ann; Lee is
    // only in the copy; Kim's copy is from yesterday and counts nothing today.
    const BYTES copy =
        UsageImage({Used("Tom", 3501, kToday), Used("Ann", 20, kToday), Used("Lee", 70, kToday), Used("Kim", 4000, kYesterday)});
    folder.Write("use.sta", UsageImage({Used("Tom", 100, kToday), Used("Ann", 900, kToday), Used("Kim", 50, kToday)}));
    folder.m_copies.m_copies["use.sta"] = copy;
    CUsageStore store;
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(UsedOf(store, "Tom"), 3501) << "the copy counts more use than the file";
    EXPECT_EQ(UsedOf(store, "Ann"), 900);
    EXPECT_EQ(UsedOf(store, "Lee"), 70);
    EXPECT_EQ(UsedOf(store, "Kim"), 50);
    EXPECT_EQ(store.GetList().front().strUser, "Tom") << "the file's order first";

    // What this run counted but could not save is not lost at the next load either.
    store.Find("Ann")->nUsedSecs = 1816;
    folder.Write("use.sta", UsageImage({Used("Ann", 1800, kToday)}));
    folder.m_copies.m_copies.erase("use.sta");
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(UsedOf(store, "Ann"), 1816);

    // A new day: yesterday's larger count does not win over today's.
    clock.Set(kToday + 86400);
    store.Find("Ann")->tLastSave = kToday;
    folder.Write("use.sta", UsageImage({Used("Ann", 5, kToday + 86400)}));
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(UsedOf(store, "Ann"), 5);
}

TEST(DataCopies, AFailedSaveKeepsTheDataIsLoggedOnceAndSucceedsOnceTheFaultIsGone) {
    CTempFolder folder;
    CFakeClock clock{kToday};
    CUsageStore store;
    store.Add(Used("Tom", 1800, kToday));
    ASSERT_TRUE(store.Save());
    {
        CFailingFiles failing;
        store.Find("Tom")->nUsedSecs = 1816;
        for (auto fault : {CFailingFiles::kWrite, CFailingFiles::kFlush, CFailingFiles::kReplace}) {
            failing.Fail(fault);
            EXPECT_FALSE(store.Save());
        }
        EXPECT_EQ(UsedOf(store, "Tom"), 1816) << "memory stays the truth";
        failing.Fail(CFailingFiles::kNoFault);
        EXPECT_EQ(CountEvents(CEventLog::kSaveFailed), 1) << "logged once, not at every retry";
        // The copy took the bytes the file refused: a load gives no time back.
        CUsageStore fresh;
        ASSERT_TRUE(fresh.Load());
        EXPECT_EQ(UsedOf(fresh, "Tom"), 1816);
    }
    ASSERT_TRUE(store.Save());
    CUsageStore fresh;
    folder.m_copies.m_copies.erase("use.sta");
    ASSERT_TRUE(fresh.Load());
    EXPECT_EQ(UsedOf(fresh, "Tom"), 1816);

    // A new failure after a success is logged again.
    CFailingFiles failing;
    failing.Fail(CFailingFiles::kReplace);
    EXPECT_FALSE(store.Save());
    failing.Fail(CFailingFiles::kNoFault);
    EXPECT_EQ(CountEvents(CEventLog::kSaveFailed), 2);
}

TEST(DataCopies, AReadOnlyFileIsMadeWritableAndSaved) {
    CTempFolder folder;
    CFakeClock clock{kToday};
    CUsageStore store;
    store.Add(Used("Tom", 1800, kToday));
    ASSERT_TRUE(store.Save());
    ASSERT_EQ(::chmod(folder.PathOf("use.sta").c_str(), 0444), 0);
    store.Find("Tom")->nUsedSecs = 1816;
    ASSERT_TRUE(store.Save());
    CUsageStore fresh;
    folder.m_copies.m_copies.clear();
    ASSERT_TRUE(fresh.Load());
    EXPECT_EQ(UsedOf(fresh, "Tom"), 1816);
    EXPECT_EQ(CountEvents(CEventLog::kSaveFailed), 0);
}
