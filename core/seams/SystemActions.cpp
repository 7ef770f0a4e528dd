// The system actions every part goes through.
#include "core/seams/SystemActions.h"

namespace {
ISystemActions* g_pActions = nullptr;
}

ISystemActions& CSystem::Get() { return g_pActions ? *g_pActions : RealSystemActions(); }

void CSystem::Use(ISystemActions* pActions) { g_pActions = pActions; }
