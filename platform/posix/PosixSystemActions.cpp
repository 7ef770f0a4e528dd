// The native build is a test bench, not the product: it acts on nothing and says so.
#include "core/seams/SystemActions.h"

namespace {

class CRefusingActions final : public ISystemActions {
public:
    bool SetLocalTime(const CLocalTime&) override { return false; }
    bool OpenProcessToken() override { return false; }
    bool AdjustShutdownPrivilege() override { return false; }
    bool ExitSystem(unsigned) override { return false; }
    bool StartProcess(const std::string&, const std::string&) override { return false; }
    int ShellOpen(const std::string&) override { return 0; }
    int RunCommandLine(const std::string&) override { return 0; }
    long WriteRunValue(const std::string&, const std::string&) override { return -1; }
    long ReadRunValue(const std::string&, std::string&) override { return -1; }
    long DeleteRunValue(const std::string&) override { return -1; }
    void SendKey(unsigned char, bool) override {}
    unsigned long GetForegroundLockTimeout() override { return 0; }
    void SetForegroundLockTimeout(unsigned long) override {}
    void PlayWave(const std::string&) override {}
    bool ChangeDisplayMode(const std::uint8_t (&)[156]) override { return false; }
};

}  // namespace

ISystemActions& RealSystemActions() {
    static CRefusingActions s_actions;
    return s_actions;
}
