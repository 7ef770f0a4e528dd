// Fuzz target: any bytes as parent.nam load and save without a fault, and saving again is stable.
#include "FuzzDataFile.h"
#include "core/store/AdminAccount.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::LoadAndSave<CAdminAccount>("parent.nam", pData, nSize);
    return 0;
}
