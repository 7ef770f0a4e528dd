// The messenger exported by Lumrik.dll: it keeps the program's path and state in a small file
// beside the library, so that what one run stores the next run (and the companion) reads, also
// after a crash or a reboot. Only types that are safe across module boundaries cross it.
#pragma once

#ifdef LUMRIK_BUILDING
#define LUMRIK_API __declspec(dllexport)
#else
#define LUMRIK_API __declspec(dllimport)
#endif

class LUMRIK_API CMyMessenger {
public:
    CMyMessenger();
    virtual ~CMyMessenger();
    CMyMessenger(const CMyMessenger&) = delete;
    CMyMessenger& operator=(const CMyMessenger&) = delete;

    // Stores the full path of the program file (at most 259 characters are kept).
    void SetMainProgPathName(const char* pszPath);
    // Stores the program's state (1 locked, 2 a child logged in, 3 closed by the Administrator,
    // 4 the Administrator logged in or the installation damaged).
    void SetMainProgState(int nState);
    // The state last stored, by this run or an earlier one; 0 when none was ever stored.
    int GetMainProgState();
    // Copies the stored path (zero-terminated, cut to the buffer) and returns its length; 0 when
    // no path is stored.
    int GetMainProgPathName(char* pszBuffer, int nSize);

    // The file that holds path and state.
    static const char* kStoreFile;
};
