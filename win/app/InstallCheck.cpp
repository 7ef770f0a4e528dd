// Checks of the companion files by their PE headers and their build stamp resource.
#include "win/app/InstallCheck.h"

#include <windows.h>

#include <cstring>
#include <fstream>

#include "BuildId.h"
#include "companion/CompanionNames.h"

namespace {

// Reads the DOS and NT headers; false when the file is no PE image.
bool ReadHeaders(const std::string& strPath, IMAGE_FILE_HEADER& fileHeader, WORD& nMagic) {
    std::ifstream in(strPath, std::ios::binary);
    IMAGE_DOS_HEADER dos{};
    if (!in.read(reinterpret_cast<char*>(&dos), sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew <= 0)
        return false;
    DWORD nSignature = 0;
    in.seekg(dos.e_lfanew);
    if (!in.read(reinterpret_cast<char*>(&nSignature), sizeof nSignature) || nSignature != IMAGE_NT_SIGNATURE)
        return false;
    if (!in.read(reinterpret_cast<char*>(&fileHeader), sizeof fileHeader)) return false;
    return static_cast<bool>(in.read(reinterpret_cast<char*>(&nMagic), sizeof nMagic));
}

}  // namespace

const char* ProgramBuildId() { return QUENBY_BUILD_ID; }

bool IsSoundProgramFile(const std::string& strPath, bool bLibrary, const char* pszBuildId) {
    IMAGE_FILE_HEADER fileHeader{};
    WORD nMagic = 0;
    if (!ReadHeaders(strPath, fileHeader, nMagic)) return false;
    if (fileHeader.Machine != IMAGE_FILE_MACHINE_AMD64 || nMagic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) return false;
    if (((fileHeader.Characteristics & IMAGE_FILE_DLL) != 0) != bLibrary) return false;
    // The stamp is read with the file mapped as data: nothing of it runs.
    HMODULE hFile = ::LoadLibraryExA(strPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!hFile) return false;
    char szStamp[64] = {};
    const int nLength = ::LoadStringA(hFile, IDS_BUILD_ID, szStamp, sizeof szStamp);
    ::FreeLibrary(hFile);
    return nLength > 0 && std::strcmp(szStamp, pszBuildId) == 0;
}

bool CheckInstallation(const std::string& strFolder, const char* pszBuildId) {
    return IsSoundProgramFile(strFolder + kCompanionLibrary, true, pszBuildId) &&
           IsSoundProgramFile(strFolder + kCompanionExe, false, pszBuildId);
}
