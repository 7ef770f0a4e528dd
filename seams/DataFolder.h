// The one folder that holds the data files: the program's own folder, a temporary one in tests.
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
};

// The program's own folder with its trailing separator; each platform provides it.
std::string DefaultDataFolder();
