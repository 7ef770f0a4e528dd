// The companion library's stored path and state, which must outlive the messenger object (the
// run) that wrote them, the start-up check of the companion files, and which processes the
// library takes for the program or the companion.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "companion/win32/MyMessenger.h"
#include "platform/win32/ModulePath.h"
#include "support/TempFolder.h"
#include "win/app/InstallCheck.h"

namespace {

namespace fs = std::filesystem;

fs::path StoreFile() { return fs::path(GetModuleDir()) / CMyMessenger::kStoreFile; }

// Moves the stored file aside for the test and puts it back afterwards.
class CAsideStore {
public:
    CAsideStore() {
        std::error_code ec;
        fs::rename(StoreFile(), Aside(), ec);
    }
    ~CAsideStore() {
        std::error_code ec;
        fs::remove(StoreFile(), ec);
        fs::rename(Aside(), StoreFile(), ec);
    }

private:
    static fs::path Aside() { return StoreFile().string() + ".aside"; }
};

std::string StoredPath(CMyMessenger& messenger) {
    char szPath[MAX_PATH] = {};
    messenger.GetMainProgPathName(szPath, MAX_PATH);
    return szPath;
}

}  // namespace

TEST(Messenger, PathAndStateOutliveTheObjectThatStoredThem) {
    CAsideStore aside;
    {
        CMyMessenger first;
        EXPECT_EQ(first.GetMainProgState(), 0) << "nothing stored yet";
        EXPECT_EQ(StoredPath(first), "");
        first.SetMainProgPathName("C:\\Program Files\\Quenby\\Quenby.exe");
        first.SetMainProgState(2);
        first.SetMainProgPathName("C:\\Quenby\\Quenby.exe");  // the path changes, the state stays
    }
    CMyMessenger next;
    EXPECT_EQ(next.GetMainProgState(), 2);
    EXPECT_EQ(StoredPath(next), "C:\\Quenby\\Quenby.exe");
    next.SetMainProgState(4);
    EXPECT_EQ(StoredPath(next), "C:\\Quenby\\Quenby.exe") << "the state changes, the path stays";
    EXPECT_EQ(CMyMessenger().GetMainProgState(), 4);
    EXPECT_FALSE(fs::exists(StoreFile().string() + ".new")) << "no temporary file is left behind";

    // A buffer too small gets a cut, terminated path; an over-long path is kept to 259 characters.
    char szSmall[6] = {};
    EXPECT_EQ(next.GetMainProgPathName(szSmall, sizeof szSmall), 5);
    EXPECT_STREQ(szSmall, "C:\\Qu");
    next.SetMainProgPathName(std::string(400, 'p').c_str());
    EXPECT_EQ(StoredPath(next).size(), 259u);
}

TEST(Messenger, AnInterruptedOrForeignFileNeverYieldsAWrongState) {
    CAsideStore aside;
    CMyMessenger messenger;
    messenger.SetMainProgState(2);
    // A write that died before its replace left only the temporary file: the old content holds.
    { std::ofstream(StoreFile().string() + ".new", std::ios::binary) << "torn"; }
    EXPECT_EQ(messenger.GetMainProgState(), 2);
    messenger.SetMainProgState(1);
    EXPECT_EQ(messenger.GetMainProgState(), 1);
    EXPECT_FALSE(fs::exists(StoreFile().string() + ".new"));
    // A cut-short or foreign file reads as nothing stored, not as some state.
    fs::resize_file(StoreFile(), 10);
    EXPECT_EQ(messenger.GetMainProgState(), 0);
    { std::ofstream(StoreFile(), std::ios::binary | std::ios::trunc) << std::string(300, '\2'); }
    EXPECT_EQ(messenger.GetMainProgState(), 0);
}

TEST(InstallCheck, BothCompanionFilesOfThisBuildMustLieBesideTheProgram) {
    CTempFolder folder;
    const fs::path bin = GetModuleDir();
    const fs::path dir = folder.Folder();
    auto put = [&](const char* pszSource, const char* pszTarget) {
        fs::copy_file(bin / pszSource, dir / pszTarget, fs::copy_options::overwrite_existing);
    };
    EXPECT_FALSE(CheckInstallation(folder.Folder())) << "nothing there";
    put("Lumrik.dll", "Lumrik.dll");
    EXPECT_FALSE(CheckInstallation(folder.Folder())) << "no companion";
    put("Tessaly.exe", "Tessaly.exe");
    EXPECT_TRUE(CheckInstallation(folder.Folder()));
    EXPECT_FALSE(CheckInstallation(folder.Folder(), "19990101000000")) << "files of another build";

    // Each file must be what its name says: a library and a program of this build.
    put("Tessaly.exe", "Lumrik.dll");
    EXPECT_FALSE(CheckInstallation(folder.Folder())) << "a program in the library's place";
    put("Lumrik.dll", "Lumrik.dll");
    put("win_tests.exe", "Tessaly.exe");
    EXPECT_FALSE(CheckInstallation(folder.Folder())) << "a program without the build stamp";
    folder.Write("Tessaly.exe", BYTES{'M', 'Z', 0, 0});
    EXPECT_FALSE(CheckInstallation(folder.Folder())) << "a damaged file";

    // A companion of this build but marked for 32-bit x86 (the machine field after "PE\0\0").
    put("Tessaly.exe", "Tessaly.exe");
    BYTES image = folder.Read("Tessaly.exe");
    const std::uint32_t nPe = image[0x3C] | image[0x3D] << 8 | image[0x3E] << 16 | image[0x3F] << 24;
    image.at(nPe + 4) = 0x4C;
    image.at(nPe + 5) = 0x01;
    folder.Write("Tessaly.exe", image);
    EXPECT_FALSE(CheckInstallation(folder.Folder())) << "a 32-bit companion";
}

TEST(Messenger, OnlyAFileOfThisBuildIsTakenForTheProgramOrTheCompanion) {
    CTempFolder folder;
    const fs::path bin = GetModuleDir();
    const fs::path decoy = fs::path(folder.Folder()) / "Quenby.exe";
    fs::copy_file(bin / "win_tests.exe", decoy);
    CMyMessenger messenger;
    // The stamp decides, not the name (a decoy process is the end-to-end scenarios' part).
    EXPECT_TRUE(messenger.IsProgramFile((bin / "Tessaly.exe").string().c_str()));
    EXPECT_FALSE(messenger.IsProgramFile(decoy.string().c_str())) << "a file named Quenby.exe without the stamp";
    EXPECT_FALSE(messenger.IsProgramFile((bin / "no such file.exe").string().c_str()));
    EXPECT_TRUE(messenger.IsProgramProcess(::GetCurrentProcessId())) << "the caller's own file";
    EXPECT_FALSE(messenger.IsCompanionProcess(::GetCurrentProcessId())) << "not Tessaly.exe";
}
