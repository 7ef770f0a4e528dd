// The guard every data-file write goes to, or none.
#include "core/seams/DataGuard.h"

namespace {
IDataGuard* g_pGuard = nullptr;
}

IDataGuard* CDataGuard::Get() { return g_pGuard; }

void CDataGuard::Use(IDataGuard* pGuard) { g_pGuard = pGuard; }
