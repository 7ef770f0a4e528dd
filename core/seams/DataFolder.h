// The one folder that holds the data files: the shared data folder when the program runs from
// where the installer put it, else the program's own folder; a temporary one in tests.
#pragma once

#include <string>

class CDataFolder {
public:
    // The folder with its trailing separator ("" means the current directory).
    static const std::string& Get();
    // Replaces the folder (an empty text: the program's folder again). Only tests call it.
    static void Use(const std::string& strFolder);
    // The full path of a data file: the folder followed by the bare file name.
    static std::string PathOf(const char* pszFile);

    // The decision, in one place: the shared folder when the program's folder is the one the
    // installer recorded (compared without regard to case or a trailing separator), otherwise
    // the program's folder. Every folder is returned with its trailing separator.
    static std::string Choose(const std::string& strProgramDir, const std::string& strInstalledDir,
                              const std::string& strSharedDir);

    // Proves with a real write that the folder takes data files: a probe file is saved the way
    // every data file is (temporary file, flush, replacing move) and removed again. The result is
    // kept for WasWritable().
    static bool ProveWritable();
    // The result of the last proof (true before any).
    static bool WasWritable();
    // The probe's file name.
    static constexpr const char* kProbeFile = "writable.tst";
};

// The data folder a started program uses, with its trailing separator; each platform provides it.
std::string DefaultDataFolder();
