// Fuzz target: any bytes as use.sta load and save without a fault, and saving again is stable.
#include "FuzzDataFile.h"
#include "core/store/UsageStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::LoadAndSave<CUsageStore>("use.sta", pData, nSize);
    return 0;
}
