// The machine's own Windows accounts that a person logs on with (enabled, normal accounts), and
// whether each is a Windows administrator's.
#pragma once

#include <string>
#include <vector>

struct WINDOWS_ACCOUNT {
    std::string strName;
    bool bAdministrator = false;
};

std::vector<WINDOWS_ACCOUNT> LocalWindowsAccounts();
