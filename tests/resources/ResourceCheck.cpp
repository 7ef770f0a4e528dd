// Reads the version resource and the manifest of a built program file, as Windows' Properties
// page and loader would, and checks them against the project's version.
//   resource_check <file> <expected version text> <expected file name> <app|dll>
// Prints every mismatch; exits 0 only when there is none.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int s_nFailures = 0;

void Expect(bool bOk, const std::string& strWhat) {
    if (bOk) return;
    std::printf("FAILED: %s\n", strWhat.c_str());
    ++s_nFailures;
}

std::string StringValue(const std::vector<char>& info, const char* pszName) {
    const std::string strKey = std::string("\\StringFileInfo\\040904E4\\") + pszName;
    char* pValue = nullptr;
    UINT nLength = 0;
    if (!::VerQueryValueA(info.data(), strKey.c_str(), reinterpret_cast<void**>(&pValue), &nLength) || !pValue)
        return std::string();
    return std::string(pValue);
}

void CheckVersion(const std::string& strFile, const std::string& strVersion, const std::string& strName, bool bLibrary) {
    DWORD nHandle = 0;
    const DWORD nSize = ::GetFileVersionInfoSizeA(strFile.c_str(), &nHandle);
    Expect(nSize > 0, "the file has a version resource");
    if (nSize == 0) return;
    std::vector<char> info(nSize);
    Expect(::GetFileVersionInfoA(strFile.c_str(), 0, nSize, info.data()) != FALSE, "the version resource reads");

    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT nLength = 0;
    Expect(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&pFixed), &nLength) && pFixed,
           "the fixed version block");
    if (pFixed) {
        unsigned nMajor = 0, nMinor = 0;
        std::sscanf(strVersion.c_str(), "%u.%u", &nMajor, &nMinor);
        Expect(HIWORD(pFixed->dwFileVersionMS) == nMajor && LOWORD(pFixed->dwFileVersionMS) == nMinor,
               "the numeric file version is " + strVersion);
        Expect(pFixed->dwProductVersionMS == pFixed->dwFileVersionMS, "product and file version agree");
        Expect(pFixed->dwFileType == (bLibrary ? VFT_DLL : VFT_APP), "the file type is a program or a library");
    }
    Expect(StringValue(info, "ProductName") == "Quenby", "ProductName is Quenby, not '" + StringValue(info, "ProductName") + "'");
    Expect(StringValue(info, "FileVersion") == strVersion, "FileVersion is " + strVersion);
    Expect(StringValue(info, "ProductVersion") == strVersion, "ProductVersion is " + strVersion);
    Expect(StringValue(info, "OriginalFilename") == strName, "OriginalFilename is " + strName);
    Expect(StringValue(info, "FileDescription").find("Quenby") == 0, "FileDescription names the product");
    Expect(StringValue(info, "CompanyName") == "The Quenby developers", "CompanyName is the publisher");
    Expect(StringValue(info, "LegalCopyright").find("Copyright (C) ") == 0, "LegalCopyright is a copyright notice");
}

// A program's manifest is resource 1, a library's resource 2.
std::string ManifestOf(const std::string& strFile, int nId) {
    HMODULE hFile = ::LoadLibraryExA(strFile.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!hFile) return std::string();
    std::string strManifest;
    if (HRSRC hRes = ::FindResourceA(hFile, MAKEINTRESOURCEA(nId), MAKEINTRESOURCEA(24))) {
        const char* p = static_cast<const char*>(::LockResource(::LoadResource(hFile, hRes)));
        if (p) strManifest.assign(p, ::SizeofResource(hFile, hRes));
    }
    ::FreeLibrary(hFile);
    return strManifest;
}

void CheckManifest(const std::string& strFile, bool bLibrary) {
    const std::string strManifest = ManifestOf(strFile, bLibrary ? 2 : 1);
    Expect(!strManifest.empty(), bLibrary ? "the library has a manifest (resource 24, id 2)"
                                          : "the program has a manifest (resource 24, id 1)");
    if (strManifest.empty()) return;
    auto has = [&](const char* pszText) { return strManifest.find(pszText) != std::string::npos; };
    Expect(has("processorArchitecture=\"amd64\""), "it names the amd64 architecture");
    if (bLibrary) return;
    Expect(has("level=\"asInvoker\"") && has("uiAccess=\"false\""), "it runs as the invoker, without UI access");
    const char* const windows[][2] = {{"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "7"},
                                      {"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "8"},
                                      {"{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "8.1"},
                                      {"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "10 and 11"}};
    for (const auto& os : windows) Expect(has(os[0]), std::string("it declares Windows ") + os[1]);
    Expect(has(">false</dpiAware>"), "it declares itself unaware of DPI");
    Expect(!has("Microsoft.Windows.Common-Controls"), "it stays with the classic common controls");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::printf("usage: resource_check <file> <version> <file name> <app|dll>\n");
        return 2;
    }
    const bool bLibrary = std::string(argv[4]) == "dll";
    CheckVersion(argv[1], argv[2], argv[3], bLibrary);
    CheckManifest(argv[1], bLibrary);
    std::printf("%s: %d failure(s)\n", argv[3], s_nFailures);
    return s_nFailures == 0 ? 0 : 1;
}
