// The security of the guard's pipe: its owner is the local system account (what the service runs
// as; only a process of that account may name it the owner); the local system account and Windows
// administrators have it all; interactive users may connect, write requests and read answers, but
// may not own the pipe, change its rights or create another instance of it
// (FILE_CREATE_PIPE_INSTANCE is left out of their rights).
#pragma once

#include <windows.h>

class CPipeSecurity {
public:
    // The descriptor in the system's text form.
    static constexpr const char* kSddl = "O:SYD:P(A;;GA;;;SY)(A;;GA;;;BA)(A;;0x12019b;;;IU)";

    CPipeSecurity();
    ~CPipeSecurity();
    CPipeSecurity(const CPipeSecurity&) = delete;
    CPipeSecurity& operator=(const CPipeSecurity&) = delete;

    // For CreateNamedPipe; null when the descriptor could not be built (then no pipe is made).
    SECURITY_ATTRIBUTES* Attributes() { return m_attributes.lpSecurityDescriptor ? &m_attributes : nullptr; }

private:
    SECURITY_ATTRIBUTES m_attributes{};
};
