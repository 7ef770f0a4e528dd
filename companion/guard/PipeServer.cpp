// Serving the guard's pipe.
#include "companion/guard/PipeServer.h"

#include "companion/guard/PipeSecurity.h"
#include "core/guard/GuardMessage.h"

CPipeServer::CPipeServer(std::string strName, GUARD_HANDLER handler)
    : m_strName(std::move(strName)), m_handler(std::move(handler)) {}

CPipeServer::~CPipeServer() { Stop(); }

HANDLE CPipeServer::CreateInstance(bool bFirst) {
    CPipeSecurity security;
    if (!security.Attributes()) return INVALID_HANDLE_VALUE;
    const DWORD nOpen = PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (bFirst ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
    const DWORD nMode = PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS;
    return ::CreateNamedPipeA(m_strName.c_str(), nOpen, nMode, kInstances, 4096, 4096, 0, security.Attributes());
}

bool CPipeServer::Start() {
    if (!m_threads.empty()) return true;
    ::ResetEvent(m_stop.Get());
    for (int n = 0; n < kInstances; ++n) {
        const HANDLE hPipe = CreateInstance(n == 0);
        if (hPipe == INVALID_HANDLE_VALUE) {
            if (n == 0) return false;  // the name is someone else's
            break;
        }
        m_pipes.push_back(hPipe);
    }
    for (HANDLE hPipe : m_pipes) m_threads.emplace_back([this, hPipe] { Serve(hPipe); });
    return true;
}

void CPipeServer::Stop() {
    ::SetEvent(m_stop.Get());
    for (std::thread& thread : m_threads) thread.join();
    m_threads.clear();
    for (HANDLE hPipe : m_pipes) ::CloseHandle(hPipe);
    m_pipes.clear();
}

bool CPipeServer::Connect(HANDLE hPipe) {
    CEventHandle connected;
    OVERLAPPED overlapped{};
    overlapped.hEvent = connected.Get();
    if (::ConnectNamedPipe(hPipe, &overlapped)) return true;
    switch (::GetLastError()) {
        case ERROR_PIPE_CONNECTED:
            return true;
        case ERROR_IO_PENDING: {
            HANDLE handles[2] = {connected.Get(), m_stop.Get()};
            if (::WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0) {
                DWORD nDone = 0;
                return ::GetOverlappedResult(hPipe, &overlapped, &nDone, FALSE) != FALSE;
            }
            ::CancelIo(hPipe);
            DWORD nDone = 0;
            ::GetOverlappedResult(hPipe, &overlapped, &nDone, TRUE);
            return false;
        }
        default:
            return false;
    }
}

GUARD_CLIENT CPipeServer::ClientOf(HANDLE hPipe) {
    GUARD_CLIENT client;
    ULONG nPid = 0;
    if (::GetNamedPipeClientProcessId(hPipe, &nPid)) client.nPid = nPid;
    DWORD nSession = 0;
    if (client.nPid && ::ProcessIdToSessionId(client.nPid, &nSession)) client.nSession = nSession;
    return client;
}

void CPipeServer::Serve(HANDLE hPipe) {
    while (::WaitForSingleObject(m_stop.Get(), 0) == WAIT_TIMEOUT) {
        if (!Connect(hPipe)) {
            // A client that left before it was served, or the stop: look again.
            ::DisconnectNamedPipe(hPipe);
            if (::WaitForSingleObject(m_stop.Get(), 50) == WAIT_OBJECT_0) break;
            continue;
        }
        const GUARD_CLIENT client = ClientOf(hPipe);
        BYTES request;
        if (CPipeIo::ReadMessage(hPipe, request, CGuardMessage::kMaxMessage, kIoTimeoutMs, m_stop.Get())) {
            BYTES answer;
            {
                std::lock_guard<std::mutex> lock(m_handling);
                answer = m_handler(request, client);
            }
            // The answer is read before the connection goes: the client closes once it has it.
            if (CPipeIo::WriteMessage(hPipe, answer, kIoTimeoutMs, m_stop.Get()))
                CPipeIo::WaitForClose(hPipe, kIoTimeoutMs, m_stop.Get());
        }
        ::DisconnectNamedPipe(hPipe);
    }
}
