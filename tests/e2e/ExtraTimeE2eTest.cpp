// Extra time with the real program: a child locked at the day's total, a parent grants a quarter
// of an hour at the lock screen, the child logs in and uses it, and when it runs out the child is
// locked again. (To spare the test a quarter of an hour, it leaves 15 seconds of the grant in
// extra.tim between two logins, as a parent would find it after most of the grant was used.)
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <string>

#include "core/rules/UsageState.h"
#include "core/store/ExtraTimeStore.h"
#include "core/store/RecordField.h"
#include "core/store/UsageStore.h"
#include "E2eSupport.h"
#include "ProgramUnderTest.h"

namespace {

// What extra.tim of the program's folder holds for kid.
EXTRA_RECORD StoredExtra(const CProgramUnderTest& program) {
    CDataFolder::Use(program.Folder());
    CExtraTimeStore store;
    store.Load();
    const EXTRA_RECORD* pRecord = store.Find("kid");
    EXTRA_RECORD record = pRecord ? *pRecord : EXTRA_RECORD{};
    CDataFolder::Use(std::string());
    return record;
}

}  // namespace

TEST(ExtraTime, LockedAtTheTotalGrantedAtTheLockScreenUsedAndLockedAgain) {
    CProgramUnderTest program;
    CDayPrj day;
    day.ClearLimits();
    day.m_bTotalLimit = 1;
    day.m_nTotalHours = 0;
    day.m_nTotalMinutes = 1;
    PrepareFamily(program, day);
    CDataFolder::Use(program.Folder());
    {
        CAdminAccount admin;
        ASSERT_TRUE(admin.Load());
        CopyToField("pw", admin.m_admin.szPassword, sizeof admin.m_admin.szPassword);
        admin.m_admin.bHasPassword = 1;
        ASSERT_TRUE(admin.Save());
        // 55 of the day's 60 seconds were used earlier today.
        CUsageStore usage;
        USAGE_RECORD record;
        record.strUser = "kid";
        record.nUsedSecs = 55;
        record.tLastSave = static_cast<TIMESECS>(std::time(nullptr)) - 5;
        usage.Add(record);
        ASSERT_TRUE(usage.Save());
    }
    CDataFolder::Use(std::string());

    const DWORD nPid = program.Start();
    HWND hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr) << "the child could not log in";
    ASSERT_TRUE(WaitFor([&] { HWND h = FindCurtain(nPid); return h && IsCurtainUp(h); }, 30000))
        << "no lock at the day's total";
    CProgramUnderTest::Click(hStatus, IDC_STATUS_SWITCH);

    // The lock screen offers more time for kid, not for the Administrator.
    HWND hLock = program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid);
    ASSERT_NE(hLock, nullptr);
    HWND hCombo = ::GetDlgItem(hLock, IDC_LOCK_ACCOUNT);
    auto Select = [&](const char* pszName) {
        const LRESULT nIndex = ::SendMessageA(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(pszName));
        ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
        ::SendMessageA(hLock, WM_COMMAND, MAKEWPARAM(IDC_LOCK_ACCOUNT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
    };
    Select("Administrator");
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hLock, IDC_LOCK_ASK_MORE)));
    Select("kid");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(::GetDlgItem(hLock, IDC_LOCK_ASK_MORE)) != FALSE; }, 5000))
        << "no \"Ask for more time\" for a child locked for the day";
    CProgramUnderTest::Pause(1000);  // the grown window drawn
    program.Screenshot("lock-ask-for-more-time");
    CProgramUnderTest::Click(hLock, IDC_LOCK_ASK_MORE);
    HWND hGrant = program.WaitForWindow(IDC_EXTRA_PASSWORD, 10000, nPid);
    ASSERT_NE(hGrant, nullptr) << "no extra-time dialog";
    SetText(hGrant, IDC_EXTRA_PASSWORD, "pw");
    program.Screenshot("extra-time-dialog");
    CProgramUnderTest::Click(hGrant, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hGrant); }, 10000)) << "the right password did not end the dialog";
    // The grant is written as the dialog ends, not before it is gone.
    EXPECT_TRUE(WaitFor([&] { return StoredExtra(program).nExtraSecsLeft == 900; }, 10000))
        << "the grant was not written: " << StoredExtra(program).nExtraSecsLeft << " s left";

    // The child logs in and may use the computer again.
    hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    ASSERT_TRUE(WaitFor([&] { HWND h = FindCurtain(nPid); return !h || !IsCurtainUp(h); }, 10000))
        << "the curtain stays up although time was granted";
    ASSERT_TRUE(WaitFor([&] {
        return CProgramUnderTest::ItemText(hStatus, IDC_STATUS_EXTRA_LINE).rfind("Extra time today: 00:1", 0) == 0;
    }, 5000)) << CProgramUnderTest::ItemText(hStatus, IDC_STATUS_EXTRA_LINE);
    CProgramUnderTest::Pause(3000);
    program.Screenshot("child-extra-time");
    CProgramUnderTest::Click(hStatus, IDC_STATUS_SWITCH);
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid), nullptr);
    const EXTRA_RECORD used = StoredExtra(program);
    EXPECT_EQ(used.nGrantedSecs, 900);
    EXPECT_LT(used.nExtraSecsLeft, 900) << "the use was not taken from the extra time";
    EXPECT_GT(used.nExtraSecsLeft, 840);

    // Most of the grant used: 15 seconds are left at the next login.
    CDataFolder::Use(program.Folder());
    {
        CExtraTimeStore store;
        ASSERT_TRUE(store.Load());
        store.ForDate("kid", used.nDate).nExtraSecsLeft = 15;
        store.ForDate("kid", used.nDate).nGrantedSecs = 900;
        store.ForDate("kid", used.nDate).nLocks = used.nLocks;
        ASSERT_TRUE(store.Save());
    }
    CDataFolder::Use(std::string());
    hStatus = LogIn(program, nPid, "kid");
    ASSERT_NE(hStatus, nullptr);
    ASSERT_TRUE(WaitFor([&] { HWND h = FindCurtain(nPid); return !h || !IsCurtainUp(h); }, 10000));
    ASSERT_TRUE(WaitFor([&] { HWND h = FindCurtain(nPid); return h && IsCurtainUp(h); }, 60000))
        << "not locked again when the extra time ran out";
    CProgramUnderTest::Pause(1500);
    EXPECT_EQ(CProgramUnderTest::ItemText(hStatus, IDC_STATUS_EXTRA_LINE), "");
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hStatus, IDC_STATUS_START)));
    program.Screenshot("child-extra-time-used-up");
    CProgramUnderTest::Click(hStatus, IDC_STATUS_SWITCH);
    ASSERT_NE(program.WaitForWindow(IDC_LOCK_LOGIN, CProgramUnderTest::kStartBoundMs, nPid), nullptr);
    EXPECT_EQ(StoredExtra(program).nExtraSecsLeft, 0);
}
