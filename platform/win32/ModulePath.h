// Where the program file is: its full path and its folder (the folder of every data file).
#pragma once

#include <string>

// Full path of the program file (at most 260 characters); empty on failure.
std::string GetModulePath();
// The program file's folder including the trailing backslash; false (and an empty folder) on failure.
bool GetModuleDir(std::string& strDir);
std::string GetModuleDir();
