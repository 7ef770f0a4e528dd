// The application object of Quenby.exe: refuses a second instance, checks the installation,
// tells the companion library the program's path and state, and runs the controller modally.
#pragma once

#include <windows.h>

#include "companion/win32/MyMessenger.h"
#include "core/store/EventLogSink.h"
#include "platform/win32/ScopedHandle.h"
#include "win/app/GuardLink.h"
#include "win/framework/WinApp.h"

class CMainApp : public CWinApp {
public:
    CMainApp() = default;
    ~CMainApp() override = default;

    BOOL InitInstance() override;
    int ExitInstance() override;

    CKernelHandle m_instanceMutex;
    CMyMessenger m_messenger;
    // The program's events go to the parent's event log for the whole run.
    CEventLogSink m_eventSink;
    // The installed program's guard service, when it is registered: it takes every write.
    CGuardLink m_guard;
    // The process's exit code when it is not the window layer's (-1).
    int m_nExitCode = -1;
};
