// Fuzz target: any bytes as child.nam load and save without a fault, and saving again is stable.
#include "CheapCrypto.h"
#include "FuzzDataFile.h"
#include "core/store/ChildAccountList.h"

namespace {
fuzz::CCheapCrypto g_crypto;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::LoadAndSave<CChildAccountList>("child.nam", pData, nSize);
    return 0;
}
