// Fuzz target: any bytes as programs.lim load and save without a fault, and saving again is stable.
#include "FuzzDataFile.h"
#include "core/store/ProgramRuleStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::LoadAndSave<CProgramRuleStore>("programs.lim", pData, nSize);
    return 0;
}
