// The names of programs: what a rule may name and which processes are never touched.
#include "core/programs/ProgramNames.h"

#include <algorithm>
#include <cctype>

#include "core/seams/Files.h"
#include "core/store/ProgramRuleStore.h"
#include "core/texts/Utilities.h"

namespace {

// Windows' own programs, refused by name even where the Windows folder cannot be looked into.
const char* const kWindowsPrograms[] = {
    "explorer.exe",     "svchost.exe",        "winlogon.exe",     "wininit.exe",
    "csrss.exe",        "smss.exe",           "services.exe",     "lsass.exe",
    "dwm.exe",          "ctfmon.exe",         "conhost.exe",      "sihost.exe",
    "taskhostw.exe",    "taskhost.exe",       "fontdrvhost.exe",  "runtimebroker.exe",
    "searchhost.exe",   "searchui.exe",       "searchapp.exe",    "shellexperiencehost.exe",
    "startmenuexperiencehost.exe",            "textinputhost.exe", "applicationframehost.exe",
    "systemsettings.exe", "lockapp.exe",      "logonui.exe",      "userinit.exe",
    "taskmgr.exe",      "rundll32.exe",       "dllhost.exe",      "wmiprvse.exe",
    "spoolsv.exe",      "audiodg.exe",        "cmd.exe",          "regedit.exe",
    "mmc.exe",          "msiexec.exe",        "consent.exe",      "werfault.exe",
};
// Quenby's own programs.
const char* const kOwnPrograms[] = {"quenby.exe", "tessaly.exe"};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char Folded(char c) {
    if (c == '/') return '\\';
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

template <std::size_t N>
bool IsOneOf(const std::string& strName, const char* const (&names)[N]) {
    return std::any_of(std::begin(names), std::end(names),
                       [&strName](const char* pszName) { return SameProgramName(strName, pszName); });
}

bool ExistsIn(const std::string& strFolder, const std::string& strName) {
    return CFiles::Get().SizeOf(strFolder + strName) >= 0;
}

}  // namespace

std::string ProgramFileName(const std::string& strTyped) {
    std::string strName = Trimmed(strTyped);
    if (!strName.empty() && strName.find('.') == std::string::npos) strName += ".exe";
    return strName;
}

std::string FileNameOfPath(const std::string& strPath) {
    const std::size_t n = strPath.find_last_of("\\/");
    return n == std::string::npos ? strPath : strPath.substr(n + 1);
}

std::string FolderOfPath(const std::string& strPath) {
    const std::size_t n = strPath.find_last_of("\\/");
    return n == std::string::npos ? std::string() : strPath.substr(0, n + 1);
}

bool IsUnderFolder(const std::string& strPath, const std::string& strFolder) {
    if (strFolder.empty() || strPath.size() <= strFolder.size()) return false;
    for (std::size_t n = 0; n < strFolder.size(); ++n)
        if (Folded(strPath[n]) != Folded(strFolder[n])) return false;
    // "C:\Windows" is no folder of "C:\WindowsApps\x.exe".
    return IsSeparator(strFolder.back()) || IsSeparator(strPath[strFolder.size()]);
}

bool SamePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Folded(x) == Folded(y); });
}

std::string ProgramRefusal(const std::string& strName, const std::string& strPath, const std::string& strWindowsFolder) {
    if (strName.empty() || strName == "." || strName == "..")
        return "Type the name of a program file, for example game.exe.";
    if (strName.size() >= CProgramRuleStore::kProgramSize) return "The name is too long for a program file.";
    if (std::any_of(strName.begin(), strName.end(), [](char c) {
            return static_cast<unsigned char>(c) < 32 || std::string("\\/:*?\"<>|").find(c) != std::string::npos;
        }))
        return "Type only the program file's name, for example game.exe, without its folder.";
    if (IsOneOf(strName, kOwnPrograms)) return strName + " is a part of Quenby and cannot have a rule.";
    const std::string strWindows = strName + " is a part of Windows and cannot have a rule.";
    if (IsOneOf(strName, kWindowsPrograms) || IsUnderFolder(strPath, strWindowsFolder)) return strWindows;
    if (!strWindowsFolder.empty()) {
        for (const char* pszSub : {"", "System32\\", "SysWOW64\\"})
            if (ExistsIn(strWindowsFolder + pszSub, strName)) return strWindows;
    }
    return {};
}

bool IsProtectedProcess(const std::string& strPath, const std::string& strWindowsFolder,
                        const std::string& strOwnFolder) {
    return IsUnderFolder(strPath, strWindowsFolder) || IsUnderFolder(strPath, strOwnFolder);
}
