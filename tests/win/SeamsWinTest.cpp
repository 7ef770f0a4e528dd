// The Windows implementations of the seams, against Wine's file system and registry in the
// test prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/seams/Calendar.h"
#include "core/seams/Clock.h"
#include "core/seams/Crypto.h"
#include "core/seams/DataCopies.h"
#include "core/seams/DataFolder.h"
#include "core/seams/Files.h"
#include "core/seams/SystemActions.h"
#include "platform/win32/ModulePath.h"
#include "support/Pbkdf2Vectors.h"
#include "support/SaveFaults.h"
#include "support/TempFolder.h"

TEST(WinFiles, ReplaceAllReplacesAnExistingFileInOneStep) {
    CTempFolder folder;
    IFileSystem& files = CFiles::Get();
    const std::string strPath = CDataFolder::PathOf("child.nam");
    ASSERT_TRUE(files.ReplaceAll(strPath, BYTES(172, 0x41)));
    ASSERT_TRUE(files.ReplaceAll(strPath, BYTES(344, 0x42)));
    EXPECT_EQ(folder.Read("child.nam"), BYTES(344, 0x42));
    EXPECT_FALSE(folder.Exists("child.nam.new"));
    EXPECT_EQ(files.SizeOf(strPath), 344);
    ASSERT_TRUE(files.ReplaceAll(strPath, BYTES{}));
    EXPECT_EQ(files.SizeOf(strPath), 0);
    EXPECT_EQ(files.SizeOf(CDataFolder::PathOf("missing.nam")), -1);
}

TEST(WinFiles, ASaveIntoAMissingFolderFailsAndSaysSo) {
    CTempFolder folder;
    EXPECT_FALSE(CFiles::Get().ReplaceAll(folder.PathOf("nowhere\\use.sta"), BYTES{1}));
}

TEST(WinFiles, ASaveThatFailsInAnyWindowsCallLeavesTheOldFileWholeAndNoTemporaryFile) {
    CTempFolder folder;
    const std::string strPath = CDataFolder::PathOf("child.nam");
    ASSERT_TRUE(CFiles::Get().ReplaceAll(strPath, BYTES(172, 0x41)));
    const BYTES image(344, 0x42);
    CFailingFiles failing;
    ForEachSaveFault(failing, image.size(), [&](const std::string& strFault) {
        EXPECT_FALSE(CFiles::Get().ReplaceAll(strPath, image)) << strFault;
        ASSERT_EQ(folder.Read("child.nam"), BYTES(172, 0x41)) << strFault;
        EXPECT_FALSE(folder.Exists("child.nam.new")) << strFault;
    });
    failing.Fail(CFailingFiles::kRead, 100);
    BYTES bytes;
    EXPECT_FALSE(CFiles::Get().ReadAll(strPath, bytes)) << "a failed ReadFile is a failed read";
    EXPECT_TRUE(bytes.empty());
}

TEST(WinDataFolder, TheProgramsFolderIsWhereTheProgramFileIs) {
    const std::string strPath = GetModulePath();
    const std::string strDir = GetModuleDir();
    ASSERT_FALSE(strDir.empty());
    EXPECT_EQ(strDir.back(), '\\');
    EXPECT_EQ(strPath.substr(0, strDir.size()), strDir);
    EXPECT_EQ(strPath.substr(strDir.size()), "win_tests.exe");
    EXPECT_EQ(CDataFolder::Get(), strDir);
    EXPECT_EQ(CDataFolder::PathOf("prj.nam"), strDir + "prj.nam");
}

TEST(WinSystemActions, TheRunValueLivesInThePrefixRegistry) {
    ISystemActions& actions = RealSystemActions();
    const std::string strName = "QuenbyTestValue";
    ASSERT_EQ(actions.WriteRunValue(strName, "C:\\Quenby\\Quenby.exe"), 0);
    std::string strData;
    EXPECT_EQ(actions.ReadRunValue(strName, strData), 0);
    EXPECT_EQ(strData, "C:\\Quenby\\Quenby.exe");
    EXPECT_EQ(actions.DeleteRunValue(strName), 0);
    EXPECT_NE(actions.ReadRunValue(strName, strData), 0);
}

TEST(WinSystemActions, TheWebPageCommandIsTheOpenCommandOfTheClassOfHtmPages) {
    char szClass[MAX_PATH] = {};
    LONG nSize = sizeof szClass;
    const bool bHadClass = ::RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", szClass, &nSize) == ERROR_SUCCESS;
    ISystemActions& actions = RealSystemActions();

    // A class without an open command gives none.
    ASSERT_EQ(::RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, "quenbytestpage", 14), ERROR_SUCCESS);
    EXPECT_EQ(actions.WebPageCommand(), "");

    const char szCommand[] = "\"C:\\web\\browse.exe\" -new \"%1\"";
    ASSERT_EQ(::RegSetValueA(HKEY_CLASSES_ROOT, "quenbytestpage\\shell\\open\\command", REG_SZ, szCommand,
                             sizeof szCommand - 1),
              ERROR_SUCCESS);
    EXPECT_EQ(actions.WebPageCommand(), szCommand);

    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "quenbytestpage\\shell\\open\\command");
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "quenbytestpage\\shell\\open");
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "quenbytestpage\\shell");
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "quenbytestpage");
    // No class for the pages: none either.
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
    EXPECT_EQ(actions.WebPageCommand(), "");
    if (bHadClass) ::RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, szClass, static_cast<DWORD>(std::strlen(szClass)));
}

TEST(WinSystemActions, TheCurrentDisplayModeIsTheScreensSizeWithTheFullImageSize) {
    std::uint8_t dmDisplay[156] = {};
    ASSERT_TRUE(RealSystemActions().CurrentDisplayMode(dmDisplay));
    DEVMODEA dm;
    std::memcpy(&dm, dmDisplay, sizeof dm);
    EXPECT_EQ(dm.dmSize, sizeof dm) << "the image always says 156, whatever the system wrote";
    EXPECT_EQ(dm.dmPelsWidth, static_cast<DWORD>(::GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_EQ(dm.dmPelsHeight, static_cast<DWORD>(::GetSystemMetrics(SM_CYSCREEN)));
}

TEST(WinCrypto, CngGivesThePublishedPbkdf2Keys) {
    for (const PBKDF2_VECTOR& vector : Pbkdf2Vectors()) {
        std::vector<std::uint8_t> key(vector.key.size());
        ASSERT_TRUE(CCrypto::DerivePbkdf2Sha256(vector.strPassword,
                                                reinterpret_cast<const std::uint8_t*>(vector.strSalt.data()),
                                                vector.strSalt.size(), vector.nIterations, key.data(), key.size()));
        EXPECT_EQ(key, vector.key) << vector.strPassword << " / " << vector.nIterations;
    }
    std::uint8_t a[14] = {};
    std::uint8_t b[14] = {};
    ASSERT_TRUE(CCrypto::RandomBytes(a, sizeof a));
    ASSERT_TRUE(CCrypto::RandomBytes(b, sizeof b));
    EXPECT_NE(std::memcmp(a, b, sizeof a), 0);
}

TEST(WinFiles, AReadOnlyTargetIsMadeWritableAndReplaced) {
    CTempFolder folder;
    const std::string strPath = CDataFolder::PathOf("use.sta");
    ASSERT_TRUE(CFiles::Get().ReplaceAll(strPath, BYTES(220, 0x41)));
    ASSERT_TRUE(::SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CFiles::Get().ReplaceAll(strPath, BYTES(220, 0x42)));
    EXPECT_EQ(folder.Read("use.sta"), BYTES(220, 0x42));
}

TEST(WinDataCopies, RecordFilesGoToTheRegistryAndTheLogToLocalAppData) {
    IDataCopies& copies = SystemDataCopies();
    const BYTES record(172, 0x5A);
    ASSERT_TRUE(copies.Write("test-copy.nam", record));
    BYTES read;
    ASSERT_TRUE(copies.Read("test-copy.nam", read));
    EXPECT_EQ(read, record);
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quenby", 0, KEY_ALL_ACCESS, &hKey), ERROR_SUCCESS);
    DWORD nType = 0, nSize = 0;
    EXPECT_EQ(::RegQueryValueExA(hKey, "test-copy.nam", nullptr, &nType, nullptr, &nSize), ERROR_SUCCESS);
    EXPECT_EQ(nType, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(nSize, 172u);
    ::RegDeleteValueA(hKey, "test-copy.nam");
    ::RegCloseKey(hKey);
    EXPECT_FALSE(copies.Read("test-copy.nam", read));

    const BYTES log(300 * 1024, 'x');  // larger than a registry value should be
    ASSERT_TRUE(copies.Write("test-copy.log", log));
    read.clear();
    ASSERT_TRUE(copies.Read("test-copy.log", read));
    EXPECT_EQ(read.size(), log.size());
}

// Windows' clock: local time in the zone Windows has (whatever TZ says), and back, agree across a
// year of hours and at the day's edges; the running clock never goes back.
TEST(WinClock, LocalTimeComesFromWindowsZoneAndGoesBackToTheSameTime) {
    _putenv_s("TZ", "JST-9");
    _tzset();
    TIME_ZONE_INFORMATION tzi{};
    ::GetTimeZoneInformation(&tzi);
    const TIMESECS tStart = 1767225600;  // 2026-01-01 00:00 UTC
    for (TIMESECS t = tStart; t < tStart + 366 * 86400; t += 3600 + 7) {
        const CLocalTime lt = CClock::ToLocal(t);
        ASSERT_EQ(CClock::MakeLocal(lt.nYear, lt.nMonth, lt.nDay, lt.nHour, lt.nMinute, lt.nSecond), t) << t;
    }
    // The offset is Windows' bias, standard or summer (never JST's nine hours unless Windows says so).
    const CLocalTime lt = CClock::ToLocal(tStart);
    const TIMESECS nOffset = Calendar::Seconds(lt.nYear, lt.nMonth, lt.nDay, lt.nHour, lt.nMinute, lt.nSecond) - tStart;
    EXPECT_TRUE(nOffset == -60LL * tzi.Bias || nOffset == -60LL * (tzi.Bias + tzi.DaylightBias)) << nOffset;
    EXPECT_EQ(CClock::MakeLocal(2026, 1, 32, 0, 0, 0), CClock::MakeLocal(2026, 2, 1, 0, 0, 0)) << "fields carry";
    _putenv_s("TZ", "");
    _tzset();

    const std::int64_t nFirst = CClock::RunningMs();
    ::Sleep(20);
    EXPECT_GE(CClock::RunningMs(), nFirst + 10);
    EXPECT_LT(CClock::BootTime(), CClock::Now());
    EXPECT_FALSE(CClock::Zone().empty());
}
