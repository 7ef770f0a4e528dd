// "Quenby.exe /uninstall", which the uninstaller runs before it touches anything: the parent
// proves to be the Administrator, then the running program and its companion are ended for good.
#pragma once

#include <string>

class CMyMessenger;

// Exit codes of the request.
enum UNINSTALL_RESULT : int {
    kUninstallAllowed = 0,    // the password was right and nothing of Quenby runs any more
    kUninstallRefused = 1,    // the prompt was cancelled: nothing may be removed
    kUninstallStillRuns = 2,  // the password was right, but a Quenby process could not be ended
};

// Whether the command line asks for it: "/uninstall" as a word of its own, in any case.
bool IsUninstallRequest(const std::string& strCommandLine);
// Shows the prompt; on the right password ends Quenby.exe and Tessaly.exe (other than this
// process) so that neither brings the other back.
int RunUninstallRequest(CMyMessenger& messenger);
