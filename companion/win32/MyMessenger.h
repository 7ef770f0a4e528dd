// The messenger exported by Lumrik.dll: it keeps the program's path and state in a small file
// beside the library, so that what one run stores the next run (and the companion) reads, also
// after a crash or a reboot. Only types that are safe across module boundaries cross it.
#pragma once

#ifdef LUMRIK_BUILDING
#define LUMRIK_API __declspec(dllexport)
#else
#define LUMRIK_API __declspec(dllimport)
#endif

// The program's heartbeat, as the companion and the program's next start read it.
struct LUMRIK_BEAT {
    unsigned long nCount = 0;  // one more at every beat of one run
    unsigned long nPid = 0;    // the process that beats
    long long tWall = 0;       // wall-clock time of the beat (UTC seconds); 0 after an orderly end
    char szUser[64] = {};      // the child logged in, "" when none
    char szZone[400] = {};     // the time zone the program held true (as the clock seam tells it)
};

// Where the program's state and heartbeat go instead of the files: the installed program sends
// them to its guard service, which keeps the files (the program may not write there).
class IMessengerSink {
public:
    virtual ~IMessengerSink() = default;
    virtual void State(int nState) = 0;
    // tWall 0: the program ends in order.
    virtual void Beat(long long tWall, const char* pszUser, const char* pszZone) = 0;
};

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

    // The heartbeat, written in place into a small file of its own (no temporary file, no
    // flush: it costs one write a second). The count goes up by one at each call. tWall 0 marks an
    // orderly end, after which the next start counts no gap.
    void Beat(long long tWall, const char* pszUser, const char* pszZone = nullptr);
    // The last beat; false when there is none or it does not read whole.
    bool ReadBeat(LUMRIK_BEAT* pBeat);

    // True when the file carries the build stamp of this library: a program file of the same
    // build. A file of another name or folder may; a file that merely has the program's name does not.
    bool IsProgramFile(const char* pszPath);
    // When the process with that id runs and is the program (its file is the calling program's
    // own, or carries this build's stamp), copies the path of its file (zero-terminated, cut to the
    // buffer) and returns its length; otherwise 0. So a reused process id, or a process of the
    // same name that merely holds the program's mutex or writes the heartbeat, is not taken for it.
    int ProgramPathOf(unsigned long nPid, char* pszBuffer, int nSize);
    bool IsProgramProcess(unsigned long nPid);

    // The companion's process id, which the running companion stores (0 when none was stored), so
    // that the program and a second companion can tell the companion from a mere holder of its mutex.
    void SetCompanionPid(unsigned long nPid);
    unsigned long GetCompanionPid();
    // True when the process with that id runs the companion: a file named Tessaly.exe of this build.
    bool IsCompanionProcess(unsigned long nPid);

    // The program ends on purpose (the Administrator's Quit, or it cannot run). A one-time value is
    // handed to the running companion through its pipe, which takes it only from the process it
    // watches, and returned: the program exits with it, and the companion stands down only when
    // the program's process ended with that very value. A state in a file, which any program may
    // write, never stands it down. Returned also when no companion took it.
    unsigned long EndOnPurpose();

    // Sends the state and the beat to the sink instead of the files (null: the files again); the
    // path and the companion's process id are then the guard's to know, and are not written.
    void UseSink(IMessengerSink* pSink);
    // A beat written for another process: the guard writes the beat of the program it heard from.
    void BeatAs(unsigned long nPid, long long tWall, const char* pszUser, const char* pszZone);

    // The files that hold path and state, the heartbeat and the companion's process id.
    static const char* kStoreFile;
    static const char* kBeatFile;
    static const char* kCompanionFile;
};
