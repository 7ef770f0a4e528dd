// One read or write on a pipe opened for overlapped use, bounded in time, for both ends of the
// companion's pipe: neither end may hang on the other (a suspended companion, a client that
// connects and says nothing).
#pragma once

#include <windows.h>

// True when all nSize bytes went through within the time.
inline bool PipeTransfer(HANDLE hPipe, bool bWrite, void* pData, DWORD nSize, DWORD nMilliseconds) {
    OVERLAPPED ov{};
    ov.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!ov.hEvent) return false;
    const BOOL bStarted =
        bWrite ? ::WriteFile(hPipe, pData, nSize, nullptr, &ov) : ::ReadFile(hPipe, pData, nSize, nullptr, &ov);
    DWORD nDone = 0;
    bool bDone = false;
    if (bStarted || ::GetLastError() == ERROR_IO_PENDING) {
        if (::WaitForSingleObject(ov.hEvent, nMilliseconds) != WAIT_OBJECT_0) ::CancelIo(hPipe);
        // Waits for a cancelled transfer too: the structure must outlive it.
        bDone = ::GetOverlappedResult(hPipe, &ov, &nDone, TRUE) && nDone == nSize;
    }
    ::CloseHandle(ov.hEvent);
    return bDone;
}
