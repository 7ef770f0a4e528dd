// Tessaly.exe as the guard service: the service manager's entry (ServiceMain registers the control
// handler, reports the service running and waits on the stop event), and the same work run in a
// console, without the service manager.
#pragma once

class CGuardService {
public:
    // Hands the process to the service manager; returns when the service has stopped. The exit
    // code: 0, or 1 when the process was not started by the service manager.
    static int RunAsService();
    // Runs the guard until the console is closed or Ctrl+C; 1 when it could not start (another
    // guard holds the pipe).
    static int RunInConsole();
};
