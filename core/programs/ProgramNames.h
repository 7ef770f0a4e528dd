// Which programs a rule may name, and which running programs a rule never touches: a rule names a
// program file ("game.exe"), never a part of Windows or of Quenby; a process in the Windows folder
// or in Quenby's own folder is never closed or ended, whatever its name.
#pragma once

#include <string>

// The name as the parent typed it, made a program file's name: the blanks at either end go, and
// a name without an extension gets ".exe".
std::string ProgramFileName(const std::string& strTyped);
// The file name at the end of a path ("C:\Games\game.exe" gives "game.exe").
std::string FileNameOfPath(const std::string& strPath);
// The folder of a path with its trailing separator ("C:\Games\game.exe" gives "C:\Games\").
std::string FolderOfPath(const std::string& strPath);
// True when the path lies in the folder or below it (letters compared without regard to case).
bool IsUnderFolder(const std::string& strPath, const std::string& strFolder);
// Two paths of one file (letters compared without regard to case, either kind of separator).
bool SamePath(const std::string& a, const std::string& b);

// Why no rule may name the program ("" when one may): a name that is not a program file's name,
// Quenby's own programs, and the programs of Windows (a name Windows' own programs carry, a file
// of that name in the Windows folder, its System32 or SysWOW64, or a path under the Windows
// folder). strWindowsFolder is the seam's; "" skips the look into it.
std::string ProgramRefusal(const std::string& strName, const std::string& strPath, const std::string& strWindowsFolder);

// True when a running process is never closed or ended by a rule: it runs from the Windows folder
// or from Quenby's own folder (the names it runs under do not count: a renamed copy of a game
// called explorer.exe is still the game).
bool IsProtectedProcess(const std::string& strPath, const std::string& strWindowsFolder,
                        const std::string& strOwnFolder);
