// The desktop every part goes through.
#include "core/seams/Desktop.h"

namespace {
IDesktop* g_pDesktop = nullptr;
}

IDesktop& CDesktop::Get() { return g_pDesktop ? *g_pDesktop : RealDesktop(); }

void CDesktop::Use(IDesktop* pDesktop) { g_pDesktop = pDesktop; }
