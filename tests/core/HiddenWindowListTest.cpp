// winnodes.tmp: 184 bytes per hidden window, lookups by handle and by source, the empty file left
// after an unlock, cut-short files and failed saves.
#include <gtest/gtest.h>

#include <cstring>

#include "core/store/HiddenWindowList.h"
#include "support/SaveFaults.h"
#include "support/TempFolder.h"

namespace {

HIDDEN_WINDOW Window(std::uint32_t hWnd, std::int32_t nSource, std::int32_t nRestore, std::uint8_t nDisplayFill = 0) {
    HIDDEN_WINDOW window{};
    window.hWnd = hWnd;
    window.nSource = nSource;
    std::memset(window.dmDisplay, nDisplayFill, sizeof window.dmDisplay);
    window.rcWindow = {-8, -8, 1288, 1032};
    window.nRestore = nRestore;
    return window;
}

std::int32_t Int32At(const BYTES& bytes, std::size_t nAt) {
    return static_cast<std::int32_t>(std::uint32_t(bytes[nAt]) | std::uint32_t(bytes[nAt + 1]) << 8 |
                                     std::uint32_t(bytes[nAt + 2]) << 16 | std::uint32_t(bytes[nAt + 3]) << 24);
}

}  // namespace

TEST(HiddenWindowList, TwoWindowsAreTheDocumentedImage) {
    CTempFolder folder;
    CHiddenWindowList list;
    list.Add(Window(0x00010A2C, kFromSweep, kRestoreShow, 0x5A));
    HIDDEN_WINDOW second = Window(0x80020001, kFromFullScreen, kRestoreMove);
    second.dmDisplay[108] = 0x00, second.dmDisplay[109] = 0x05;  // 1280 wide
    second.dmDisplay[112] = 0x00, second.dmDisplay[113] = 0x04;  // 1024 high
    list.Add(second.hWnd, second.nSource, second.dmDisplay, second.rcWindow, second.nRestore);
    EXPECT_EQ(GetDisplayWidth(second), 1280u);
    EXPECT_EQ(GetDisplayHeight(second), 1024u);
    ASSERT_TRUE(list.Save());

    const BYTES bytes = folder.Read("winnodes.tmp");
    ASSERT_EQ(bytes.size(), 368u);
    EXPECT_EQ(Int32At(bytes, 0), 0x00010A2C);
    EXPECT_EQ(Int32At(bytes, 4), 0);
    EXPECT_EQ(BYTES(bytes.begin() + 8, bytes.begin() + 164), BYTES(156, 0x5A));
    EXPECT_EQ(Int32At(bytes, 164), -8);
    EXPECT_EQ(Int32At(bytes, 168), -8);
    EXPECT_EQ(Int32At(bytes, 172), 1288);
    EXPECT_EQ(Int32At(bytes, 176), 1032);
    EXPECT_EQ(Int32At(bytes, 180), 0);
    EXPECT_EQ(static_cast<std::uint32_t>(Int32At(bytes, 184)), 0x80020001u);
    EXPECT_EQ(Int32At(bytes, 188), 1);
    EXPECT_EQ(Int32At(bytes, 192 + 108), 1280);
    EXPECT_EQ(Int32At(bytes, 192 + 112), 1024);
    EXPECT_EQ(Int32At(bytes, 364), 2);

    CHiddenWindowList reread;
    ASSERT_TRUE(reread.Load());
    ASSERT_EQ(reread.GetCount(), 2);
    EXPECT_EQ(std::memcmp(reread.GetAt(1), &second, sizeof second), 0);
    EXPECT_EQ(reread.GetAt(0)->hWnd, 0x00010A2Cu);
    EXPECT_EQ(reread.GetAt(2), nullptr);
    EXPECT_EQ(reread.GetAt(-1), nullptr);
}

TEST(HiddenWindowList, LookupsByHandleAndBySource) {
    CHiddenWindowList list;
    list.Add(Window(10, kFromSweep, kRestoreShow));
    list.Add(Window(20, kFromFullScreen, kRestoreFromMinimised));
    list.Add(Window(10, kFromFullScreen, kRestoreMove));
    list.Add(Window(30, kFromFullScreen, kRestoreShow));

    EXPECT_TRUE(list.Exists(10));
    EXPECT_FALSE(list.Exists(11));
    EXPECT_TRUE(list.ExistsFromFullScreen(10));  // its second record
    EXPECT_FALSE(list.ExistsFromFullScreen(11));
    EXPECT_EQ(list.CountFromFullScreen(), 3);
    ASSERT_NE(list.GetFromFullScreen(0), nullptr);
    EXPECT_EQ(list.GetFromFullScreen(0)->hWnd, 20u);
    EXPECT_EQ(list.GetFromFullScreen(1)->nRestore, kRestoreMove);
    EXPECT_EQ(list.GetFromFullScreen(2)->hWnd, 30u);
    EXPECT_EQ(list.GetFromFullScreen(3), nullptr);
    EXPECT_EQ(list.GetFromFullScreen(-1), nullptr);

    list.Remove(10);  // only the first record of window 10
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_TRUE(list.ExistsFromFullScreen(10));
    EXPECT_EQ(list.GetAt(0)->hWnd, 20u);
    list.Remove(99);
    EXPECT_EQ(list.GetCount(), 3);
}

TEST(HiddenWindowList, AfterAnUnlockTheFileIsEmptyAndLoadsNothing) {
    CTempFolder folder;
    CHiddenWindowList list;
    list.Add(Window(10, kFromSweep, kRestoreShow));
    ASSERT_TRUE(list.Save());
    list.RemoveAll();
    ASSERT_TRUE(list.Save());
    ASSERT_TRUE(folder.Exists("winnodes.tmp"));
    EXPECT_EQ(folder.Read("winnodes.tmp").size(), 0u);

    // An empty or missing file leaves the list as it is.
    CHiddenWindowList other;
    other.Add(Window(5, kFromSweep, kRestoreShow));
    EXPECT_FALSE(other.Load());
    std::filesystem::remove(folder.PathOf("winnodes.tmp"));
    EXPECT_FALSE(other.Load());
    EXPECT_EQ(other.GetCount(), 1);
}

TEST(HiddenWindowList, FragmentAfterWholeRecordsIsDropped) {
    CTempFolder folder;
    CHiddenWindowList list;
    list.Add(Window(10, kFromSweep, kRestoreShow));
    list.Add(Window(20, kFromFullScreen, kRestoreMove));
    ASSERT_TRUE(list.Save());
    BYTES bytes = folder.Read("winnodes.tmp");
    bytes.resize(368 + 183, 0x77);
    folder.Write("winnodes.tmp", bytes);

    CHiddenWindowList reread;
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(reread.GetCount(), 2);
    folder.Write("winnodes.tmp", BYTES(100, 0x77));
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(reread.GetCount(), 0);
}

TEST(HiddenWindowList, SaveCutShortAtAnyByteKeepsTheOldFileAndTheList) {
    CTempFolder folder;
    CHiddenWindowList list;
    list.Add(Window(10, kFromSweep, kRestoreShow));
    ASSERT_TRUE(list.Save());
    const BYTES old = folder.Read("winnodes.tmp");
    list.Add(Window(20, kFromFullScreen, kRestoreMove));
    CFailingFiles failing;
    ForEachSaveFault(failing, 368, [&](const std::string& strFault) {
        ASSERT_FALSE(list.Save()) << strFault;
        ASSERT_EQ(folder.Read("winnodes.tmp"), old) << strFault;
    });
    EXPECT_EQ(list.GetCount(), 2);
    // Emptying the list after an unlock is no exception: a failed save keeps the old records.
    list.RemoveAll();
    failing.Fail(CFailingFiles::kReplace);
    EXPECT_FALSE(list.Save());
    EXPECT_EQ(folder.Read("winnodes.tmp"), old);
}
