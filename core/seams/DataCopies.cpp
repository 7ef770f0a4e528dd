// The second copies every data file goes through.
#include "core/seams/DataCopies.h"

namespace {
IDataCopies* g_pCopies = nullptr;
}

IDataCopies& CDataCopies::Get() { return g_pCopies ? *g_pCopies : SystemDataCopies(); }

void CDataCopies::Use(IDataCopies* pCopies) { g_pCopies = pCopies; }
