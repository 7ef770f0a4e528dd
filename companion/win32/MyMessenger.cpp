// Lumrik.dll: path and state of the program in "lumrik.dat" in the data folder. Every change
// rewrites the whole file through a temporary file that then replaces it, so a reader sees the
// old or the new content, never a torn one. The heartbeat, the companion's process id, the build
// stamps that tell the program and the companion from files of the same name, and the program's
// end on purpose told through the companion's pipe.
#define LUMRIK_BUILDING
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600  // GetNamedPipeServerProcessId
#include "companion/win32/MyMessenger.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "companion/CompanionNames.h"
#include "companion/win32/PipeTransfer.h"
#include "core/seams/Crypto.h"
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

// The build stamp of a module's string table ("" when it has none).
std::string StampOf(HMODULE hModule) {
    char szStamp[64] = {};
    return hModule && ::LoadStringA(hModule, kBuildIdString, szStamp, sizeof szStamp) > 0 ? szStamp : "";
}

// The path of a running process's program file; "" when it ended or cannot be told.
std::string RunningProcessPath(unsigned long nPid) {
    if (nPid == 0) return {};
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, nPid);
    if (!hProcess) return {};
    const bool bRunning = ::WaitForSingleObject(hProcess, 0) == WAIT_TIMEOUT;
    const std::string strPath = bRunning ? ProcessPath(hProcess) : std::string();
    ::CloseHandle(hProcess);
    return strPath;
}

std::string OwnProgramPath() {
    char szPath[MAX_PATH] = {};
    const DWORD nLength = ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    return std::string(szPath, nLength < MAX_PATH ? nLength : 0);
}

// A value for one end of the program: never 0, 1 or 259 (a plain end, a kill by a tool, "still
// running"), and positive as an int.
unsigned long OneTimeValue() {
    std::uint8_t bytes[4] = {};
    unsigned long nValue = ::GetTickCount() ^ (::GetCurrentProcessId() << 16);
    if (CCrypto::RandomBytes(bytes, sizeof bytes))
        nValue = bytes[0] | unsigned(bytes[1]) << 8 | unsigned(bytes[2]) << 16 | unsigned(bytes[3]) << 24;
    return (nValue & 0x0FFFFFFFu) | 0x10000000u;
}

// Opens the companion's pipe, waiting a little while it serves another client; the handle, or
// INVALID_HANDLE_VALUE.
HANDLE OpenEndPipe(const std::string& strPipe) {
    for (int nTry = 0; nTry < 20; ++nTry) {
        HANDLE hPipe = ::CreateFileA(strPipe.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_OVERLAPPED, nullptr);
        if (hPipe != INVALID_HANDLE_VALUE) return hPipe;
        if (::GetLastError() != ERROR_PIPE_BUSY || !::WaitNamedPipeA(strPipe.c_str(), 100)) ::Sleep(50);
    }
    return INVALID_HANDLE_VALUE;
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

bool CMyMessenger::IsProgramFile(const char* pszPath) {
    if (!pszPath || !*pszPath) return false;
    const std::string strOwnStamp = StampOf(g_hModule);
    // Mapped as data: nothing of the file runs.
    HMODULE hFile = ::LoadLibraryExA(pszPath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const std::string strStamp = StampOf(hFile);
    if (hFile) ::FreeLibrary(hFile);
    return !strOwnStamp.empty() && strStamp == strOwnStamp;
}

int CMyMessenger::ProgramPathOf(unsigned long nPid, char* pszBuffer, int nSize) {
    const std::string strPath = RunningProcessPath(nPid);
    if (strPath.empty() || !pszBuffer || nSize <= 0) return 0;
    if (!SameNameIgnoringCase(strPath, OwnProgramPath()) && !IsProgramFile(strPath.c_str())) return 0;
    const int nCopied = static_cast<int>(strPath.size()) < nSize ? static_cast<int>(strPath.size()) : nSize - 1;
    std::memcpy(pszBuffer, strPath.data(), static_cast<size_t>(nCopied));
    pszBuffer[nCopied] = '\0';
    return nCopied;
}

bool CMyMessenger::IsProgramProcess(unsigned long nPid) {
    char szPath[MAX_PATH] = {};
    return ProgramPathOf(nPid, szPath, MAX_PATH) > 0;
}

bool CMyMessenger::IsCompanionProcess(unsigned long nPid) {
    const std::string strPath = RunningProcessPath(nPid);
    return SameNameIgnoringCase(BaseName(strPath), kCompanionExe) && IsProgramFile(strPath.c_str());
}

unsigned long CMyMessenger::EndOnPurpose() {
    const unsigned long nValue = OneTimeValue();
    const unsigned long nCompanion = GetCompanionPid();
    if (!IsCompanionProcess(nCompanion)) return nValue;
    HANDLE hPipe = OpenEndPipe(kEndPipePrefix + std::to_string(nCompanion));
    if (hPipe == INVALID_HANDLE_VALUE) return nValue;
    // Only the companion itself serves its pipe: a program that took the name first gets nothing.
    ULONG nServer = 0;
    if (::GetNamedPipeServerProcessId(hPipe, &nServer) && nServer == nCompanion) {
        unsigned long message[2] = {nValue, ~nValue};
        unsigned char nAnswer = 0;
        if (PipeTransfer(hPipe, true, message, sizeof message, 2000)) PipeTransfer(hPipe, false, &nAnswer, 1, 2000);
    }
    ::CloseHandle(hPipe);
    return nValue;
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
