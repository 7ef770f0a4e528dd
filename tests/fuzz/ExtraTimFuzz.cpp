// Fuzz target: any bytes as extra.tim load and save without a fault, and saving again is stable.
#include "FuzzDataFile.h"
#include "core/store/ExtraTimeStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::LoadAndSave<CExtraTimeStore>("extra.tim", pData, nSize);
    return 0;
}
