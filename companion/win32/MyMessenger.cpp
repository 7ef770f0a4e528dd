// Lumrik.dll: path and state of the program in "lumrik.dat" in the data folder. Every change
// rewrites the whole file through a temporary file that then replaces it, so a reader sees the
// old or the new content, never a torn one.
#define LUMRIK_BUILDING
#include "companion/win32/MyMessenger.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "core/seams/DataFolder.h"

const char* CMyMessenger::kStoreFile = "lumrik.dat";
const char* CMyMessenger::kBeatFile = "lumrik.hb";
const char* CMyMessenger::kCompanionFile = "lumrik.cp";

namespace {

// The file image: a tag, the state and the path.
struct MESSENGER_STORE {
    char szTag[8];
    int nState;
    char szPath[MAX_PATH];
};
constexpr char kTag[8] = "QUENBY1";
// The same bytes from the 32-bit and the 64-bit library: no field changes size with the pointers.
static_assert(sizeof(MESSENGER_STORE) == 272, "lumrik.dat is 272 bytes");

HMODULE g_hModule = nullptr;

// In the data folder, which the program and its companion choose alike (installed: the shared
// folder every Windows account may write; otherwise the program's folder).
std::string StorePath() { return CDataFolder::PathOf(CMyMessenger::kStoreFile); }

// The stored content; a missing, short or foreign file reads as nothing stored.
MESSENGER_STORE Read() {
    MESSENGER_STORE store{};
    HANDLE hFile = ::CreateFileA(StorePath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return store;
    MESSENGER_STORE image{};
    DWORD nRead = 0;
    const BOOL bRead = ::ReadFile(hFile, &image, sizeof image, &nRead, nullptr);
    ::CloseHandle(hFile);
    if (!bRead || nRead != sizeof image || std::memcmp(image.szTag, kTag, sizeof kTag) != 0) return store;
    image.szPath[MAX_PATH - 1] = '\0';
    return image;
}

bool Write(const MESSENGER_STORE& store) {
    const std::string strTarget = StorePath();
    const std::string strTemp = strTarget + ".new";
    HANDLE hFile = ::CreateFileA(strTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    DWORD nWritten = 0;
    const bool bWritten = ::WriteFile(hFile, &store, sizeof store, &nWritten, nullptr) && nWritten == sizeof store &&
                          ::FlushFileBuffers(hFile);
    ::CloseHandle(hFile);
    if (bWritten &&
        ::MoveFileExA(strTemp.c_str(), strTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileA(strTemp.c_str());
    return false;
}

// The heartbeat's file image: the beat and a check sum, so a read that meets a write half done
// is told from a whole one.
struct BEAT_IMAGE {
    LUMRIK_BEAT beat;
    unsigned long nSum;
};
static_assert(sizeof(LUMRIK_BEAT) == 480 && offsetof(LUMRIK_BEAT, tWall) == 8 && sizeof(BEAT_IMAGE) == 488,
              "lumrik.hb has the same layout in the 32-bit and the 64-bit library");

unsigned long SumOf(const LUMRIK_BEAT& beat) {
    const auto* p = reinterpret_cast<const unsigned char*>(&beat);
    unsigned long nSum = 0x51u;
    for (size_t i = 0; i < sizeof beat; ++i) nSum = nSum * 31u + p[i];
    return nSum;
}

// The heartbeat file, kept open by the process that beats.
HANDLE g_hBeat = INVALID_HANDLE_VALUE;
unsigned long g_nBeats = 0;
// Where state and beats go instead of the files, when the program has a guard.
IMessengerSink* g_pSink = nullptr;

std::string BaseName(const std::string& strPath) {
    const size_t nSlash = strPath.find_last_of("\\/");
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

// The path of a process's program file, or "" when it cannot be told.
std::string ProcessPath(HANDLE hProcess) {
    using QUERYNAME = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    static const auto pfnQuery = reinterpret_cast<QUERYNAME>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    if (!pfnQuery) return {};
    char szPath[MAX_PATH] = {};
    DWORD nSize = MAX_PATH;
    return pfnQuery(hProcess, 0, szPath, &nSize) ? std::string(szPath, nSize) : std::string();
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD nReason, LPVOID) {
    if (nReason == DLL_PROCESS_ATTACH) g_hModule = hInstance;
    return TRUE;
}

CMyMessenger::CMyMessenger() = default;
CMyMessenger::~CMyMessenger() = default;

void CMyMessenger::SetMainProgPathName(const char* pszPath) {
    if (g_pSink) return;
    MESSENGER_STORE store = Read();
    std::memcpy(store.szTag, kTag, sizeof kTag);
    std::memset(store.szPath, 0, sizeof store.szPath);
    if (pszPath) std::strncpy(store.szPath, pszPath, MAX_PATH - 1);
    Write(store);
}

void CMyMessenger::SetMainProgState(int nState) {
    if (g_pSink) return g_pSink->State(nState);
    MESSENGER_STORE store = Read();
    std::memcpy(store.szTag, kTag, sizeof kTag);
    store.nState = nState;
    Write(store);
}

int CMyMessenger::GetMainProgState() { return Read().nState; }

int CMyMessenger::GetMainProgPathName(char* pszBuffer, int nSize) {
    if (!pszBuffer || nSize <= 0) return 0;
    const MESSENGER_STORE store = Read();
    const int nLength = static_cast<int>(std::strlen(store.szPath));
    const int nCopied = nLength < nSize ? nLength : nSize - 1;
    std::memcpy(pszBuffer, store.szPath, static_cast<size_t>(nCopied));
    pszBuffer[nCopied] = '\0';
    return nCopied;
}

void CMyMessenger::Beat(long long tWall, const char* pszUser, const char* pszZone) {
    if (g_pSink) return g_pSink->Beat(tWall, pszUser ? pszUser : "", pszZone ? pszZone : "");
    BeatAs(::GetCurrentProcessId(), tWall, pszUser, pszZone);
}

void CMyMessenger::UseSink(IMessengerSink* pSink) { g_pSink = pSink; }

void CMyMessenger::BeatAs(unsigned long nPid, long long tWall, const char* pszUser, const char* pszZone) {
    if (g_hBeat == INVALID_HANDLE_VALUE)
        g_hBeat = ::CreateFileA(CDataFolder::PathOf(kBeatFile).c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (g_hBeat == INVALID_HANDLE_VALUE) return;
    BEAT_IMAGE image{};
    image.beat.nCount = ++g_nBeats;
    image.beat.nPid = nPid;
    image.beat.tWall = tWall;
    if (pszUser) std::strncpy(image.beat.szUser, pszUser, sizeof image.beat.szUser - 1);
    if (pszZone) std::strncpy(image.beat.szZone, pszZone, sizeof image.beat.szZone - 1);
    image.nSum = SumOf(image.beat);
    DWORD nWritten = 0;
    ::SetFilePointer(g_hBeat, 0, nullptr, FILE_BEGIN);
    ::WriteFile(g_hBeat, &image, sizeof image, &nWritten, nullptr);
}

bool CMyMessenger::ReadBeat(LUMRIK_BEAT* pBeat) {
    if (!pBeat) return false;
    HANDLE hFile = ::CreateFileA(CDataFolder::PathOf(kBeatFile).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    BEAT_IMAGE image{};
    DWORD nRead = 0;
    const BOOL bRead = ::ReadFile(hFile, &image, sizeof image, &nRead, nullptr);
    ::CloseHandle(hFile);
    if (!bRead || nRead != sizeof image || image.nSum != SumOf(image.beat)) return false;
    image.beat.szUser[sizeof image.beat.szUser - 1] = '\0';
    image.beat.szZone[sizeof image.beat.szZone - 1] = '\0';
    *pBeat = image.beat;
    return true;
}

bool CMyMessenger::IsProgramProcess(unsigned long nPid) {
    char szStored[MAX_PATH] = {};
    if (GetMainProgPathName(szStored, MAX_PATH) == 0) return false;
    return IsProcessNamed(nPid, BaseName(szStored).c_str());
}

bool CMyMessenger::IsProcessNamed(unsigned long nPid, const char* pszExe) {
    if (nPid == 0 || !pszExe) return false;
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, nPid);
    if (!hProcess) return false;
    const bool bRunning = ::WaitForSingleObject(hProcess, 0) == WAIT_TIMEOUT;
    const std::string strPath = ProcessPath(hProcess);
    ::CloseHandle(hProcess);
    return bRunning && SameNameIgnoringCase(BaseName(strPath), pszExe);
}

void CMyMessenger::SetCompanionPid(unsigned long nPid) {
    if (g_pSink) return;
    HANDLE hFile = ::CreateFileA(CDataFolder::PathOf(kCompanionFile).c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return;
    const unsigned long image[2] = {nPid, ~nPid};
    DWORD nWritten = 0;
    ::WriteFile(hFile, image, sizeof image, &nWritten, nullptr);
    ::CloseHandle(hFile);
}

unsigned long CMyMessenger::GetCompanionPid() {
    HANDLE hFile = ::CreateFileA(CDataFolder::PathOf(kCompanionFile).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return 0;
    unsigned long image[2] = {};
    DWORD nRead = 0;
    const BOOL bRead = ::ReadFile(hFile, image, sizeof image, &nRead, nullptr);
    ::CloseHandle(hFile);
    return bRead && nRead == sizeof image && image[1] == ~image[0] ? image[0] : 0;
}
