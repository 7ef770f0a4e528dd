// The process seam every part goes through.
#include "core/seams/Processes.h"

namespace {
IProcesses* g_pProcesses = nullptr;
}

IProcesses& CProcesses::Get() { return g_pProcesses ? *g_pProcesses : SystemProcesses(); }

void CProcesses::Use(IProcesses* pProcesses) { g_pProcesses = pProcesses; }
