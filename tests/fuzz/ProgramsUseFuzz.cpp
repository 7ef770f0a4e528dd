// Fuzz target: any bytes as programs.use load (records merged) and save without a fault, and
// saving again is stable.
#include "FuzzDataFile.h"
#include "core/store/ProgramUseStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::LoadAndSave<CProgramUseStore>("programs.use", pData, nSize);
    return 0;
}
