// The rights of the installed program's data folder, set by the guard at every start (so a right
// changed since is put back) and given back at uninstall:
//   the data folder   the local system account and Administrators full control, Users read;
//                     nothing inherited from above, everything inside inherits it
//   guard\admin\      the local system account and Administrators only (the Administrator's
//                     password hash)
#pragma once

#include <string>

class CFolderRights {
public:
    static constexpr const char* kDataSddl = "D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
    static constexpr const char* kPrivateSddl = "D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

    // False when the system refused.
    static bool GuardData(const std::string& strFolder);
    static bool GuardPrivate(const std::string& strFolder);
    // The folder inherits its rights from the folder above again.
    static bool Release(const std::string& strFolder);
};
