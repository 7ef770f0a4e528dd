// One message in, one message out, over an overlapped message-mode pipe handle, each with a time
// bound and never more than a bound of bytes: neither end can be held up or flooded by the other.
#pragma once

#include <windows.h>

#include <cstddef>

#include "core/seams/Files.h"
#include "platform/win32/ScopedHandle.h"

class CPipeIo {
public:
    // Reads one whole message. A message longer than nMax gives its first nMax + 1 bytes (so the
    // reader can tell it was too long) and the rest is left unread. False when nothing whole came
    // within the time, the other end went away, or hStop (if any) was set.
    static bool ReadMessage(HANDLE hPipe, BYTES& message, std::size_t nMax, DWORD nTimeoutMs, HANDLE hStop = nullptr);
    // Writes one message; false when it was not taken within the time.
    static bool WriteMessage(HANDLE hPipe, const BYTES& message, DWORD nTimeoutMs, HANDLE hStop = nullptr);
    // Waits until the other end closes its handle (or the time is over).
    static void WaitForClose(HANDLE hPipe, DWORD nTimeoutMs, HANDLE hStop = nullptr);
};

// An unnamed event, closed when it goes out of scope.
class CEventHandle : public CKernelHandle {
public:
    explicit CEventHandle(bool bManualReset = true)
        : CKernelHandle(::CreateEventA(nullptr, bManualReset, FALSE, nullptr)) {}
};
