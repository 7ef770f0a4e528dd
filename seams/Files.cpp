// The file system every data file goes through.
#include "seams/Files.h"

namespace {
IFileSystem* g_pFiles = nullptr;
}

IFileSystem& CFiles::Get() { return g_pFiles ? *g_pFiles : SystemFileSystem(); }

void CFiles::Use(IFileSystem* pFiles) { g_pFiles = pFiles; }
