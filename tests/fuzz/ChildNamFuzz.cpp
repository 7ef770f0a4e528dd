// Fuzz target: any bytes as child.nam load and save without a fault, and saving again is stable.
#include "FuzzDataFile.h"
#include "core/store/ChildAccountList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::LoadAndSave<CChildAccountList>("child.nam", pData, nSize);
    return 0;
}
