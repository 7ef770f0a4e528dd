// The guard's end of its named pipe. The first instance is created with FILE_FLAG_FIRST_PIPE_INSTANCE,
// so the server either owns the name or does not start at all: nobody can create the name first
// and sit in front of it unnoticed. A few instances serve clients side by side; each connection
// carries one request and its answer, read within a time and a size bound, and the handler runs
// for one request at a time. Who asks is told by the pipe (the client's process and its session),
// never by the request.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "companion/guard/PipeIo.h"
#include "core/guard/GuardCore.h"

using GUARD_HANDLER = std::function<BYTES(const BYTES& request, const GUARD_CLIENT& client)>;

class CPipeServer {
public:
    static constexpr int kInstances = 4;
    // A client has this long to send its request and to take its answer.
    static constexpr DWORD kIoTimeoutMs = 5000;

    CPipeServer(std::string strName, GUARD_HANDLER handler);
    ~CPipeServer();
    CPipeServer(const CPipeServer&) = delete;
    CPipeServer& operator=(const CPipeServer&) = delete;

    // Creates the pipe and starts serving; false when the name is someone else's already (or the
    // pipe could not be made).
    bool Start();
    // Stops serving and closes the pipe; the requests in hand are answered first.
    void Stop();

private:
    HANDLE CreateInstance(bool bFirst);
    void Serve(HANDLE hPipe);
    bool Connect(HANDLE hPipe);
    static GUARD_CLIENT ClientOf(HANDLE hPipe);

    std::string m_strName;
    GUARD_HANDLER m_handler;
    CEventHandle m_stop;
    std::mutex m_handling;
    std::vector<HANDLE> m_pipes;
    std::vector<std::thread> m_threads;
};
