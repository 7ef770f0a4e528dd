// The start-up check of the installed companion files: Lumrik.dll and Tessaly.exe must lie beside
// the program and be 64-bit (x86-64) program files of the same build as the program.
#pragma once

#include <string>

// The build stamp the program and its companion files carry.
const char* ProgramBuildId();
// Whether the file is an x86-64 PE32+ image of the given kind (library or executable) that carries
// the build stamp.
bool IsSoundProgramFile(const std::string& strPath, bool bLibrary, const char* pszBuildId);
// Both companion files of the folder (with its trailing backslash) are sound.
bool CheckInstallation(const std::string& strFolder, const char* pszBuildId = ProgramBuildId());
