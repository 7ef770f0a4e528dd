// Owners of the handles Windows hands out - the kernel's, the service manager's and the
// registry's: each closes its handle when it goes out of scope, and none can be copied.
#pragma once

#include <windows.h>

#include <type_traits>
#include <utility>

template <typename HANDLE_TYPE, auto fnClose>
class CScopedHandle {
public:
    CScopedHandle() = default;
    explicit CScopedHandle(HANDLE_TYPE h) { Reset(h); }
    ~CScopedHandle() { Reset(); }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;
    CScopedHandle(CScopedHandle&& other) noexcept : m_h(other.Release()) {}
    CScopedHandle& operator=(CScopedHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }

    HANDLE_TYPE Get() const { return m_h; }
    explicit operator bool() const { return m_h != HANDLE_TYPE{}; }
    // For a call that fills in a handle: the one held before is closed first.
    HANDLE_TYPE* Receive() {
        Reset();
        return &m_h;
    }
    HANDLE_TYPE Release() { return std::exchange(m_h, HANDLE_TYPE{}); }
    void Reset(HANDLE_TYPE h = HANDLE_TYPE{}) {
        if (m_h != HANDLE_TYPE{}) fnClose(m_h);
        // Some calls that make a kernel handle say "none" with INVALID_HANDLE_VALUE, others with
        // null: both are kept as null.
        if constexpr (std::is_same_v<HANDLE_TYPE, HANDLE>)
            if (h == INVALID_HANDLE_VALUE) h = nullptr;
        m_h = h;
    }

private:
    HANDLE_TYPE m_h{};
};

using CKernelHandle = CScopedHandle<HANDLE, &::CloseHandle>;
using CServiceHandle = CScopedHandle<SC_HANDLE, &::CloseServiceHandle>;
using CRegKeyHandle = CScopedHandle<HKEY, &::RegCloseKey>;
