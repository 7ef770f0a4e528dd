// Tessaly.exe's guard arguments:
//   /service               the guard service (only the service manager starts it so)
//   /console               the same guard in a console, without the service manager
//   /register              registers and starts the guard service (the setup program, as administrator)
//   /unregister            stops and removes it, its Safe Mode keys and the data folder's rights
//   /firstrun <password>   the Administrator's password of a first installation
// Each reports a failure's reason on its standard output, for the setup program's log.
#pragma once

#include <string>

// The exit code of the guard's job, or -1 when the arguments are none of its.
int RunGuardSwitch(const std::string& strArguments);
