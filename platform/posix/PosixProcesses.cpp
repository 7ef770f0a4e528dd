// The native build sees no programs: it is a test bench for the portable rules, whose tests
// install a fake list of processes.
#include <unistd.h>

#include "core/seams/Processes.h"

namespace {

class CNoProcesses final : public IProcesses {
public:
    void List(std::vector<PROCESS_ENTRY>& processes) override { processes.clear(); }
    std::uint32_t ForegroundProcess() override { return 0; }
    void TakeNewWindowProcesses(std::vector<std::uint32_t>& processes) override { processes.clear(); }
    std::string PathOf(std::uint32_t) override { return {}; }
    std::string OriginalNameOf(const std::string&) override { return {}; }
    int CloseWindows(std::uint32_t) override { return 0; }
    bool End(std::uint32_t) override { return false; }
    std::uint32_t ProcessOfWindow(std::uint64_t) override { return 0; }
    std::vector<PROGRAM_WINDOW> Windows() override { return {}; }
    std::string WindowsFolder() override { return {}; }
    std::uint32_t OwnProcess() override { return static_cast<std::uint32_t>(::getpid()); }
};

}  // namespace

IProcesses& SystemProcesses() {
    static CNoProcesses s_processes;
    return s_processes;
}
