// Fuzz target: any bytes as userinfo.aur load and save without a fault, and saving again is stable.
#include "FuzzDataFile.h"
#include "core/store/ActiveUserList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::LoadAndSave<CActiveUserList>("userinfo.aur", pData, nSize);
    return 0;
}
