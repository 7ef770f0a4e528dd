// What the setup program asks of Tessaly.exe with administrator rights: the guard service
// registered (automatic start as the local system account, started again by the service manager
// after a failure, started in Safe Mode too) and removed again, and the Administrator's password
// of a first installation, kept by the guard from the start.
#pragma once

#include <string>

class CServiceSetup {
public:
    // The Safe Mode keys that name the service (their default value is "Service").
    static constexpr const char* kSafeBootMinimal = "SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Minimal\\QuenbyGuard";
    static constexpr const char* kSafeBootNetwork = "SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Network\\QuenbyGuard";

    // Registers the service for the Tessaly.exe at that path (an earlier registration is replaced)
    // and starts it. False with the reason in strError.
    static bool Register(const std::string& strTessaly, std::string& strError);
    // Stops and removes the service and its Safe Mode keys, and gives the data folder its
    // inherited rights back. False with the reason.
    static bool Unregister(std::string& strError);
    // Stops the service and waits until it has (at most nTimeoutMs); true when it is not running.
    static bool Stop(unsigned long nTimeoutMs);
    // Whether the registered service runs Tessaly.exe from that folder (the program's guard).
    static bool IsRegisteredFor(const std::string& strFolder);
    // The Administrator's record of a first installation, written by the guard's keeper into the
    // data folder (made, with its rights, when missing). An Administrator's record that exists
    // already is kept (the program is installed again). 0 written, 1 kept, 2 failed.
    static int FirstPassword(const std::string& strPassword);
};
