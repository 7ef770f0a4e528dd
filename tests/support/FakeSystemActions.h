// System actions that act on nothing: each call is written down as a line of text, and every
// action reports failure (or nothing), so no test starts a program, changes the display or the
// clock. Only the auto-run values live in a registry of the object's own, so that a first run
// registers without a complaint to the parent. Installed while the object lives.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/seams/SystemActions.h"

class CFakeSystemActions final : public ISystemActions {
public:
    CFakeSystemActions() { CSystem::Use(this); }
    ~CFakeSystemActions() override { CSystem::Use(nullptr); }
    CFakeSystemActions(const CFakeSystemActions&) = delete;
    CFakeSystemActions& operator=(const CFakeSystemActions&) = delete;

    // Noted as "set time YYYY-MM-DD hh:mm:ss".
    bool SetLocalTime(const CLocalTime& t) override {
        char szTime[40];
        std::snprintf(szTime, sizeof szTime, "set time %04d-%02d-%02d %02d:%02d:%02d", t.nYear, t.nMonth, t.nDay,
                      t.nHour, t.nMinute, t.nSecond);
        Note(szTime);
        return m_onSetTime ? m_onSetTime(t) : false;
    }
    bool SetZone(const std::string& strZone) override {
        Note("set zone " + strZone);
        return m_onSetZone ? m_onSetZone(strZone) : false;
    }
    bool OpenProcessToken() override { return Note("open token"), m_bTokenOpens; }
    bool AdjustShutdownPrivilege() override { return Note("adjust privilege"), m_bPrivilegeAdjusts; }
    bool ExitSystem(unsigned uFlags) override { return Note("exit " + std::to_string(uFlags)), m_bSystemExits; }
    bool StartProcess(const std::string& strPath, const std::string& strCommandLine) override {
        return Note("start " + strPath + " | " + strCommandLine), false;
    }
    int ShellOpen(const std::string& strTarget) override { return Note("shell open " + strTarget), m_nShellOpen; }
    int RunCommandLine(const std::string& strCommandLine) override {
        return Note("run " + strCommandLine), m_nRunCommandLine;
    }
    // A question, not an action: not noted.
    std::string WebPageCommand() override { return m_strWebPageCommand; }
    long WriteRunValue(const std::string& strName, const std::string& strData) override {
        Note("write run " + strName);
        m_runValues[strName] = strData;
        return 0;
    }
    long WriteRunOnceValue(const std::string& strName, const std::string& strData) override {
        Note("write runonce " + strName + " | " + strData);
        m_runOnceValues[strName] = strData;
        return 0;
    }
    long DeleteRunOnceValue(const std::string& strName) override {
        Note("delete runonce " + strName);
        return m_runOnceValues.erase(strName) ? 0 : kNotFound;
    }
    long ReadRunValue(const std::string& strName, std::string& strData) override {
        Note("read run " + strName);
        const auto it = m_runValues.find(strName);
        if (it == m_runValues.end()) return kNotFound;
        strData = it->second;
        return 0;
    }
    long DeleteRunValue(const std::string& strName) override {
        Note("delete run " + strName);
        return m_runValues.erase(strName) ? 0 : kNotFound;
    }
    void SendKey(unsigned char nKey, bool bRelease) override {
        Note((bRelease ? "release " : "press ") + std::to_string(nKey));
    }
    unsigned long GetForegroundLockTimeout() override { return Note("get timeout"), 0; }
    void SetForegroundLockTimeout(unsigned long n) override { Note("set timeout " + std::to_string(n)); }
    void PlayWave(const std::string& strPath) override { Note("play " + strPath); }
    // A question, not an action: not noted. The mode is m_cxMode x m_cyMode; none while either is 0.
    bool CurrentDisplayMode(std::uint8_t (&dm)[156]) override {
        if (m_cxMode == 0 || m_cyMode == 0) return false;
        std::memset(dm, 0, sizeof dm);
        const std::uint16_t nSize = sizeof dm;
        std::memcpy(dm + 36, &nSize, 2);  // dmSize
        std::memcpy(dm + 108, &m_cxMode, 4);
        std::memcpy(dm + 112, &m_cyMode, 4);
        return true;
    }
    // Noted as "display <width>x<height>", read from the DEVMODEA image (dmPelsWidth at 108, dmPelsHeight at 112).
    bool ChangeDisplayMode(const std::uint8_t (&dm)[156]) override {
        std::uint32_t cx = 0, cy = 0;
        std::memcpy(&cx, dm + 108, 4);
        std::memcpy(&cy, dm + 112, 4);
        Note("display " + std::to_string(cx) + "x" + std::to_string(cy));
        if (m_onDisplayChange) m_onDisplayChange();
        return false;
    }

    // The calls whose text begins with the prefix.
    std::vector<std::string> CallsStartingWith(const std::string& strPrefix) const {
        std::vector<std::string> found;
        for (const std::string& strCall : m_calls)
            if (strCall.rfind(strPrefix, 0) == 0) found.push_back(strCall);
        return found;
    }

    std::vector<std::string> m_calls;
    std::map<std::string, std::string> m_runValues;
    std::map<std::string, std::string> m_runOnceValues;
    static constexpr long kNotFound = 2;  // ERROR_FILE_NOT_FOUND
    // Answers a test may turn to success (the shell's codes succeed above 32).
    bool m_bTokenOpens = false;
    bool m_bPrivilegeAdjusts = false;
    bool m_bSystemExits = false;
    int m_nShellOpen = 0;
    int m_nRunCommandLine = 0;
    std::string m_strWebPageCommand;  // none registered unless a test sets one
    // The display mode the system reports as current (a test may change it at any moment).
    std::uint32_t m_cxMode = 0;
    std::uint32_t m_cyMode = 0;
    // Runs inside ChangeDisplayMode, so a test can look at the windows at that moment.
    std::function<void()> m_onDisplayChange;
    // Answers SetLocalTime (refused unless a test sets it; a test may move its fake clock here).
    std::function<bool(const CLocalTime&)> m_onSetTime;
    // Answers SetZone (refused unless a test sets it; a test may move its fake clock's zone here).
    std::function<bool(const std::string&)> m_onSetZone;

private:
    void Note(const std::string& strCall) { m_calls.push_back(strCall); }
};
