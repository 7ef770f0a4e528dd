// Requests over the guard's pipe.
#include "companion/guard/PipeTransport.h"

#include "companion/guard/PipeIo.h"
#include "core/guard/GuardMessage.h"

HANDLE CPipeTransport::Open() {
    // A guard busy with other clients is waited for a little.
    for (int nTry = 0; nTry < 5; ++nTry) {
        // Identification only: the server may learn who asks, but may not act as this account.
        const HANDLE hPipe = ::CreateFileA(m_strName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                           FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
        if (hPipe != INVALID_HANDLE_VALUE) return hPipe;
        if (::GetLastError() != ERROR_PIPE_BUSY || !::WaitNamedPipeA(m_strName.c_str(), 2000)) break;
    }
    return INVALID_HANDLE_VALUE;
}

bool CPipeTransport::Exchange(const BYTES& request, BYTES& answer) {
    m_bStranger = false;
    const HANDLE hPipe = Open();
    if (hPipe == INVALID_HANDLE_VALUE) return false;
    bool bDone = false;
    if (!m_trust.Trusts(hPipe)) {
        m_bStranger = true;
    } else {
        DWORD nMode = PIPE_READMODE_MESSAGE;
        bDone = ::SetNamedPipeHandleState(hPipe, &nMode, nullptr, nullptr) &&
                CPipeIo::WriteMessage(hPipe, request, kTimeoutMs) &&
                CPipeIo::ReadMessage(hPipe, answer, CGuardMessage::kMaxMessage, kTimeoutMs);
    }
    ::CloseHandle(hPipe);
    return bDone;
}
