// Fuzz target: any bytes as winnodes.tmp load and save without a fault, and saving again is stable.
#include "FuzzDataFile.h"
#include "core/store/HiddenWindowList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::LoadAndSave<CHiddenWindowList>("winnodes.tmp", pData, nSize);
    return 0;
}
