// Suspending or resuming every thread of a process, as a process tool does: the uninstaller
// holds the companion this way, and the tests play a child who suspends Quenby.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include "platform/win32/ScopedHandle.h"

inline void SuspendThreadsOf(DWORD nPid, bool bSuspend = true) {
    const CKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = ::Thread32First(snapshot.Get(), &entry); bMore; bMore = ::Thread32Next(snapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID != nPid) continue;
        const CKernelHandle thread(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
        if (!thread) continue;
        if (bSuspend)
            ::SuspendThread(thread.Get());
        else
            ::ResumeThread(thread.Get());
    }
}
