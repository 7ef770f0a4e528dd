// Bounded overlapped reads and writes of pipe messages.
#include "companion/guard/PipeIo.h"

namespace {

// Waits for an overlapped operation started on the handle; cancels it when the time runs out or
// the stop is set. The result is the operation's, with its byte count.
bool Finish(HANDLE hPipe, OVERLAPPED& overlapped, BOOL bStarted, DWORD& nDone, DWORD nTimeoutMs, HANDLE hStop,
            DWORD& nError) {
    nError = bStarted ? ERROR_SUCCESS : ::GetLastError();
    // A message longer than the buffer ends at once with ERROR_MORE_DATA; its count is below.
    if (!bStarted && nError != ERROR_IO_PENDING && nError != ERROR_MORE_DATA) return false;
    if (!bStarted && nError == ERROR_IO_PENDING) {
        HANDLE handles[2] = {overlapped.hEvent, hStop};
        const DWORD nWait = ::WaitForMultipleObjects(hStop ? 2 : 1, handles, FALSE, nTimeoutMs);
        if (nWait != WAIT_OBJECT_0) {
            ::CancelIo(hPipe);
            ::GetOverlappedResult(hPipe, &overlapped, &nDone, TRUE);
            nError = ERROR_OPERATION_ABORTED;
            return false;
        }
    }
    if (::GetOverlappedResult(hPipe, &overlapped, &nDone, FALSE)) {
        nError = ERROR_SUCCESS;
        return true;
    }
    nError = ::GetLastError();
    return false;
}

}  // namespace

bool CPipeIo::ReadMessage(HANDLE hPipe, BYTES& message, std::size_t nMax, DWORD nTimeoutMs, HANDLE hStop) {
    CEventHandle done;
    const ULONGLONG nEnd = ::GetTickCount64() + nTimeoutMs;
    BYTES read;
    for (;;) {
        const std::size_t nRoom = nMax + 1 - read.size();
        if (nRoom == 0) break;  // too long: what was read tells so
        const std::size_t nChunk = nRoom < 65536 ? nRoom : 65536;
        const std::size_t nAt = read.size();
        read.resize(nAt + nChunk);
        OVERLAPPED overlapped{};
        overlapped.hEvent = done.Get();
        DWORD nDone = 0, nError = 0;
        const ULONGLONG nNow = ::GetTickCount64();
        const DWORD nLeft = nNow >= nEnd ? 0 : static_cast<DWORD>(nEnd - nNow);
        const BOOL bStarted = ::ReadFile(hPipe, read.data() + nAt, static_cast<DWORD>(nChunk), &nDone, &overlapped);
        const bool bWhole = Finish(hPipe, overlapped, bStarted, nDone, nLeft, hStop, nError);
        read.resize(nAt + nDone);
        if (bWhole) break;
        if (nError != ERROR_MORE_DATA) return false;
    }
    message = std::move(read);
    return true;
}

bool CPipeIo::WriteMessage(HANDLE hPipe, const BYTES& message, DWORD nTimeoutMs, HANDLE hStop) {
    CEventHandle done;
    OVERLAPPED overlapped{};
    overlapped.hEvent = done.Get();
    DWORD nDone = 0, nError = 0;
    const BOOL bStarted = ::WriteFile(hPipe, message.data(), static_cast<DWORD>(message.size()), &nDone, &overlapped);
    return Finish(hPipe, overlapped, bStarted, nDone, nTimeoutMs, hStop, nError) && nDone == message.size();
}

void CPipeIo::WaitForClose(HANDLE hPipe, DWORD nTimeoutMs, HANDLE hStop) {
    CEventHandle done;
    OVERLAPPED overlapped{};
    overlapped.hEvent = done.Get();
    std::uint8_t nByte = 0;
    DWORD nDone = 0, nError = 0;
    const BOOL bStarted = ::ReadFile(hPipe, &nByte, 1, &nDone, &overlapped);
    Finish(hPipe, overlapped, bStarted, nDone, nTimeoutMs, hStop, nError);
}
