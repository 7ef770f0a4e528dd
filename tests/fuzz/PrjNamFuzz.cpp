// Fuzz target: any bytes as prj.nam load and save without a fault, and saving again is stable.
#include "FuzzDataFile.h"
#include "core/store/PrjStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::LoadAndSave<CPrjStore>("prj.nam", pData, nSize);
    return 0;
}
