// The native build's desktop: one desktop, always its own, and no logon session to tell apart.
#include "core/seams/Desktop.h"

namespace {

class CPosixDesktop final : public IDesktop {
public:
    std::string InputDesktop() override { return "Default"; }
    std::string OwnDesktop() override { return "Default"; }
    bool SwitchToOwn() override { return true; }
    std::uint64_t LogonSession() override { return 0; }
    bool IsSessionEnding() override { return false; }
};

}  // namespace

IDesktop& RealDesktop() {
    static CPosixDesktop s_desktop;
    return s_desktop;
}
