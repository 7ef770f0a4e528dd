// Fuzz target: any bytes as parent.nam load and save without a fault, saving again is stable, and
// a password field that held plain text still accepts that password once the save hashed it.
#include <cstdlib>

#include "CheapCrypto.h"
#include "FuzzDataFile.h"
#include "core/store/AdminAccount.h"
#include "core/store/PasswordField.h"
#include "core/store/RecordField.h"

namespace {
fuzz::CCheapCrypto g_crypto;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::LoadAndSave<CAdminAccount>("parent.nam", pData, nSize);

    fuzz::WriteFile(CAdminAccount::kFileName, pData, nSize);
    CAdminAccount account;
    // A hashed field, or one whose hash the guard holds, is no plain text to upgrade.
    if (!account.Load() || CPasswordField::IsHashed(account.m_admin.szPassword) ||
        CPasswordField::IsHeld(account.m_admin.szPassword))
        return 0;
    const std::string strPlain = ReadField(account.m_admin.szPassword, CPasswordField::kSize);
    if (!account.Save()) std::abort();
    CAdminAccount hashed;
    if (!hashed.Load() || !CPasswordField::IsHashed(hashed.m_admin.szPassword) ||
        !CPasswordField::Matches(hashed.m_admin.szPassword, strPlain))
        std::abort();
    return 0;
}
