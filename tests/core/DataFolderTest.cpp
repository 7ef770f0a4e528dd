// The data-folder decision and the start-up write proof.
#include <gtest/gtest.h>

#include "core/seams/DataFolder.h"
#include "support/TempFolder.h"

TEST(DataFolder, AProgramInTheRecordedInstallFolderKeepsItsDataInTheSharedFolder) {
    const std::string strShared = "C:\\ProgramData\\Quenby\\";
    EXPECT_EQ(CDataFolder::Choose("C:\\Program Files\\Quenby\\", "C:\\Program Files\\Quenby", strShared), strShared);
    // Windows paths are compared without regard to case, separators or a trailing backslash.
    EXPECT_EQ(CDataFolder::Choose("c:\\program files\\QUENBY\\", "C:/Program Files/Quenby/", strShared), strShared);
    EXPECT_EQ(CDataFolder::Choose("C:\\Program Files\\Quenby\\", "C:\\Program Files\\Quenby", "C:\\ProgramData\\Quenby"),
              strShared)
        << "the shared folder gets its separator";
}

TEST(DataFolder, AnyOtherProgramKeepsItsDataBesideItself) {
    const std::string strShared = "C:\\ProgramData\\Quenby\\";
    // Not installed, installed elsewhere (a copy unpacked from the zip), or in a folder whose
    // name only begins like the installed one.
    EXPECT_EQ(CDataFolder::Choose("D:\\Tools\\Quenby\\", "", strShared), "D:\\Tools\\Quenby\\");
    EXPECT_EQ(CDataFolder::Choose("D:\\Tools\\Quenby\\", "C:\\Program Files\\Quenby", strShared), "D:\\Tools\\Quenby\\");
    EXPECT_EQ(CDataFolder::Choose("C:\\Program Files\\Quenby2\\", "C:\\Program Files\\Quenby", strShared),
              "C:\\Program Files\\Quenby2\\");
    // Without a shared folder the program stays with its own.
    EXPECT_EQ(CDataFolder::Choose("C:\\Program Files\\Quenby\\", "C:\\Program Files\\Quenby", ""),
              "C:\\Program Files\\Quenby\\");
    EXPECT_EQ(CDataFolder::Choose("", "", strShared), "") << "the current directory, as before";
}

TEST(DataFolder, TheWriteProofSucceedsOnlyWhereAFileCanBeSavedAndLeavesNothingBehind) {
    CTempFolder folder;
    EXPECT_TRUE(CDataFolder::ProveWritable());
    EXPECT_TRUE(CDataFolder::WasWritable());
    EXPECT_FALSE(folder.Exists(CDataFolder::kProbeFile));
    EXPECT_FALSE(folder.Exists(std::string(CDataFolder::kProbeFile) + ".new"));

    CDataFolder::Use(folder.PathOf("missing") + "/");
    EXPECT_FALSE(CDataFolder::ProveWritable());
    EXPECT_FALSE(CDataFolder::WasWritable());

    CDataFolder::Use(folder.Folder());
    EXPECT_TRUE(CDataFolder::ProveWritable());
    EXPECT_TRUE(CDataFolder::WasWritable()) << "each start proves anew";
}
