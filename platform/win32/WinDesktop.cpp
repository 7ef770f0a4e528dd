// Windows' desktops and logon session: the input desktop by name (OpenInputDesktop), the
// program's own (the desktop of its thread), SwitchDesktop back to it, the logon's id from the
// process token's statistics and the system's word that the session ends.
#include <windows.h>

#include "core/seams/Desktop.h"

namespace {

std::string NameOf(HDESK hDesktop) {
    char szName[256] = {};
    DWORD nNeeded = 0;
    if (!hDesktop || !::GetUserObjectInformationA(hDesktop, UOI_NAME, szName, sizeof szName - 1, &nNeeded)) return {};
    return szName;
}

class CWinDesktop final : public IDesktop {
public:
    std::string InputDesktop() override {
        HDESK hInput = ::OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
        const std::string strName = NameOf(hInput);
        if (hInput) ::CloseDesktop(hInput);
        return strName;
    }

    std::string OwnDesktop() override { return NameOf(::GetThreadDesktop(::GetCurrentThreadId())); }

    bool SwitchToOwn() override {
        // The thread's own handle may lack the right to switch: the desktop is opened by name.
        HDESK hOwn = ::OpenDesktopA(OwnDesktop().c_str(), 0, FALSE, DESKTOP_SWITCHDESKTOP);
        if (!hOwn) return false;
        const bool bSwitched = ::SwitchDesktop(hOwn) != FALSE;
        ::CloseDesktop(hOwn);
        return bSwitched;
    }

    std::uint64_t LogonSession() override {
        HANDLE hToken = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken)) return 0;
        TOKEN_STATISTICS statistics{};
        DWORD nSize = 0;
        const BOOL bRead = ::GetTokenInformation(hToken, TokenStatistics, &statistics, sizeof statistics, &nSize);
        ::CloseHandle(hToken);
        if (!bRead) return 0;
        const LUID& id = statistics.AuthenticationId;
        return (std::uint64_t(static_cast<std::uint32_t>(id.HighPart)) << 32) | id.LowPart;
    }

    bool IsSessionEnding() override { return ::GetSystemMetrics(SM_SHUTTINGDOWN) != 0; }
};

}  // namespace

IDesktop& RealDesktop() {
    static CWinDesktop s_desktop;
    return s_desktop;
}
