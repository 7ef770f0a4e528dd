// The real actions on a Windows machine.
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

#include "core/seams/SystemActions.h"
#include "platform/win32/SystemTime.h"
#include "platform/win32/ZoneText.h"

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\";

// Owns an open registry key.
class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    // The Run key of the current Windows account (which a program that is not elevated may
    // change), created when it is missing.
    bool OpenRun() { return ::RegCreateKeyA(HKEY_CURRENT_USER, kRunKey, &m_hKey) == ERROR_SUCCESS; }
    bool OpenRunOnce() { return ::RegCreateKeyA(HKEY_CURRENT_USER, kRunOnceKey, &m_hKey) == ERROR_SUCCESS; }
    HKEY Get() const { return m_hKey; }
    long Close() {
        if (!m_hKey) return ERROR_SUCCESS;
        const long nStatus = ::RegCloseKey(m_hKey);
        m_hKey = nullptr;
        return nStatus;
    }

private:
    HKEY m_hKey = nullptr;
};

// The default value of a key under the classes root, or "" when there is none.
std::string ReadClassesRootDefault(const std::string& strKey) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, strKey.c_str(), 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS) return {};
    char szValue[MAX_PATH * 2] = {};
    DWORD nSize = sizeof szValue - 1;
    DWORD nType = 0;
    const LONG nStatus = ::RegQueryValueExA(hKey, nullptr, nullptr, &nType, reinterpret_cast<BYTE*>(szValue), &nSize);
    ::RegCloseKey(hKey);
    return nStatus == ERROR_SUCCESS && (nType == REG_SZ || nType == REG_EXPAND_SZ) ? std::string(szValue) : std::string();
}

// Switches a privilege of the process's token on; false when the account does not hold it.
bool EnablePrivilege(const char* pszName) {
    HANDLE hToken = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &hToken)) return false;
    TOKEN_PRIVILEGES tp{};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    const bool bOk = ::LookupPrivilegeValueA(nullptr, pszName, &tp.Privileges[0].Luid) &&
                     ::AdjustTokenPrivileges(hToken, FALSE, &tp, 0, nullptr, nullptr) &&
                     ::GetLastError() == ERROR_SUCCESS;
    ::CloseHandle(hToken);
    return bOk;
}

class CWinSystemActions final : public ISystemActions {
public:
    ~CWinSystemActions() override {
        if (m_hToken) ::CloseHandle(m_hToken);
    }

    bool SetLocalTime(const CLocalTime& time) override {
        const SYSTEMTIME st = ToSystemTime(time);
        return ::SetLocalTime(&st) != FALSE;
    }

    // The zone comes as the clock seam describes it: the zone record in hex.
    bool SetZone(const std::string& strZone) override {
        TIME_ZONE_INFORMATION tzi{};
        if (!ZoneFromText(strZone, tzi)) return false;
        EnablePrivilege("SeTimeZonePrivilege");
        return ::SetTimeZoneInformation(&tzi) != FALSE;
    }

    bool OpenProcessToken() override {
        if (m_hToken) {
            ::CloseHandle(m_hToken);
            m_hToken = nullptr;
        }
        return ::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &m_hToken) != FALSE;
    }

    bool AdjustShutdownPrivilege() override {
        TOKEN_PRIVILEGES tp{};
        if (!m_hToken || !::LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &tp.Privileges[0].Luid)) return false;
        tp.PrivilegeCount = 1;
        tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        ::AdjustTokenPrivileges(m_hToken, FALSE, &tp, 0, nullptr, nullptr);
        return ::GetLastError() == ERROR_SUCCESS;
    }

    bool ExitSystem(unsigned uFlags) override { return ::ExitWindowsEx(uFlags, 0) != FALSE; }

    bool StartProcess(const std::string& strPath, const std::string& strCommandLine) override {
        std::vector<char> commandLine(strCommandLine.begin(), strCommandLine.end());
        commandLine.push_back('\0');
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessA(strPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &si, &pi))
            return false;
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        return true;
    }

    int ShellOpen(const std::string& strTarget) override {
        const HINSTANCE hResult = ::ShellExecuteA(nullptr, "open", strTarget.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return static_cast<int>(reinterpret_cast<INT_PTR>(hResult));
    }

    int RunCommandLine(const std::string& strCommandLine) override {
        return static_cast<int>(::WinExec(strCommandLine.c_str(), SW_SHOWNORMAL));
    }

    std::string WebPageCommand() override {
        const std::string strClass = ReadClassesRootDefault(".htm");
        return strClass.empty() ? std::string() : ReadClassesRootDefault(strClass + "\\shell\\open\\command");
    }

    long WriteRunValue(const std::string& strName, const std::string& strData) override {
        CRegKey key;
        if (!key.OpenRun()) return ERROR_CANTOPEN;
        const long nStatus =
            ::RegSetValueExA(key.Get(), strName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(strData.c_str()),
                             static_cast<DWORD>(strData.size() + 1));
        if (nStatus != ERROR_SUCCESS) return nStatus;
        ::RegFlushKey(key.Get());
        return key.Close();
    }

    long WriteRunOnceValue(const std::string& strName, const std::string& strData) override {
        CRegKey key;
        if (!key.OpenRunOnce()) return ERROR_CANTOPEN;
        const long nStatus =
            ::RegSetValueExA(key.Get(), strName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(strData.c_str()),
                             static_cast<DWORD>(strData.size() + 1));
        if (nStatus != ERROR_SUCCESS) return nStatus;
        return key.Close();
    }

    long DeleteRunOnceValue(const std::string& strName) override {
        CRegKey key;
        if (!key.OpenRunOnce()) return ERROR_CANTOPEN;
        const long nStatus = ::RegDeleteValueA(key.Get(), strName.c_str());
        if (nStatus != ERROR_SUCCESS) return nStatus;
        return key.Close();
    }

    long ReadRunValue(const std::string& strName, std::string& strData) override {
        CRegKey key;
        if (!key.OpenRun()) return ERROR_CANTOPEN;
        char buffer[MAX_PATH] = {};
        DWORD nSize = sizeof buffer - 1;
        DWORD nType = 0;
        const long nStatus =
            ::RegQueryValueExA(key.Get(), strName.c_str(), nullptr, &nType, reinterpret_cast<BYTE*>(buffer), &nSize);
        if (nStatus == ERROR_SUCCESS) strData.assign(buffer);
        return nStatus;
    }

    long DeleteRunValue(const std::string& strName) override {
        CRegKey key;
        if (!key.OpenRun()) return ERROR_CANTOPEN;
        const long nStatus = ::RegDeleteValueA(key.Get(), strName.c_str());
        if (nStatus != ERROR_SUCCESS) return nStatus;
        ::RegFlushKey(key.Get());
        return key.Close();
    }

    void SendKey(unsigned char nVirtualKey, bool bRelease) override {
        ::keybd_event(nVirtualKey, 0, KEYEVENTF_EXTENDEDKEY | (bRelease ? KEYEVENTF_KEYUP : 0), 0);
    }

    unsigned long GetForegroundLockTimeout() override {
        DWORD nMilliseconds = 0;
        ::SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &nMilliseconds, 0);
        return nMilliseconds;
    }

    void SetForegroundLockTimeout(unsigned long nMilliseconds) override {
        // The value travels in the pointer argument itself.
        ::SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                                reinterpret_cast<PVOID>(static_cast<UINT_PTR>(nMilliseconds)),
                                SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    }

    void PlayWave(const std::string& strPath) override {
        ::PlaySoundA(strPath.c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
    }

    bool CurrentDisplayMode(std::uint8_t (&dmDisplay)[156]) override {
        static_assert(sizeof(DEVMODEA) == sizeof dmDisplay, "the image is a DEVMODEA");
        DEVMODEA dm{};
        dm.dmSize = sizeof dm;
        if (!::EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &dm)) return false;
        dm.dmSize = sizeof dm;  // some systems write a shorter size back
        std::memcpy(dmDisplay, &dm, sizeof dm);
        return true;
    }

    bool ChangeDisplayMode(const std::uint8_t (&dmDisplay)[156]) override {
        static_assert(sizeof(DEVMODEA) == sizeof dmDisplay, "the image is a DEVMODEA");
        DEVMODEA dm;
        std::memcpy(&dm, dmDisplay, sizeof dm);
        dm.dmSize = sizeof dm;
        return ::ChangeDisplaySettingsA(&dm, 0) == DISP_CHANGE_SUCCESSFUL;
    }

private:
    HANDLE m_hToken = nullptr;
};

}  // namespace

ISystemActions& RealSystemActions() {
    static CWinSystemActions s_actions;
    return s_actions;
}
