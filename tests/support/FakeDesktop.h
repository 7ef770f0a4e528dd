// A desktop that tests set by hand, installed for the life of the object: which desktop has the
// input, whether switching back works (under Wine it "works" and nothing changes), the logon
// session and whether Windows ends the session. Switches are counted.
#pragma once

#include <cstdint>
#include <string>

#include "core/seams/Desktop.h"

class CFakeDesktop final : public IDesktop {
public:
    CFakeDesktop() { CDesktop::Use(this); }
    ~CFakeDesktop() override { CDesktop::Use(nullptr); }
    CFakeDesktop(const CFakeDesktop&) = delete;
    CFakeDesktop& operator=(const CFakeDesktop&) = delete;

    std::string InputDesktop() override { return m_strInput; }
    std::string OwnDesktop() override { return "Default"; }
    bool SwitchToOwn() override {
        ++m_nSwitches;
        if (m_bSwitchTakes) m_strInput = "Default";
        return m_bSwitchSucceeds;
    }
    std::uint64_t LogonSession() override { return m_nLogon; }
    bool IsSessionEnding() override { return m_bEnding; }

    std::string m_strInput = "Default";
    bool m_bSwitchSucceeds = true;
    bool m_bSwitchTakes = true;  // false: the system says yes and the input stays where it was
    int m_nSwitches = 0;
    std::uint64_t m_nLogon = 0x1234;
    bool m_bEnding = false;
};
