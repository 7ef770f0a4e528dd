// The cryptographic services every password field goes through.
#include "core/seams/Crypto.h"

namespace {
ICrypto* g_pCrypto = nullptr;
CSystemCrypto g_systemCrypto;
}  // namespace

ICrypto& CCrypto::Get() { return g_pCrypto ? *g_pCrypto : g_systemCrypto; }

void CCrypto::Use(ICrypto* pCrypto) { g_pCrypto = pCrypto; }
