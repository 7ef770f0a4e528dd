// A data folder owned by a guard, all in the test's process: the guard (keeper and core) on one
// side, the program's store on the other, joined by a transport that hands each encoded request
// straight to the guard. While the object lives every write of the store goes through the guard's
// checks, and reads take the guard's records first, as in the installed program.
#pragma once

#include <string>

#include "core/guard/GuardClient.h"
#include "core/guard/GuardCore.h"
#include "core/guard/GuardKeeper.h"
#include "core/store/AdminAccount.h"
#include "support/TempFolder.h"

class CLoopTransport final : public IGuardTransport {
public:
    explicit CLoopTransport(CGuardCore& core) : m_core(core) {}
    bool Exchange(const BYTES& request, BYTES& answer) override {
        if (!m_bReachable) return false;
        answer = m_core.Handle(request, m_client);
        return true;
    }
    GUARD_CLIENT m_client{4242, 1, true};
    bool m_bReachable = true;

private:
    CGuardCore& m_core;
};

class CGuardedFolder {
public:
    static constexpr const char* kPassword = "parent's secret";

    CGuardedFolder() {
        m_keeper.Start();
        // The setup program's first run: the Administrator's record, written by the guard.
        {
            CKeeperScope scope(m_keeper);
            CAdminAccount admin;
            admin.m_admin.bFirstRunPending = 0;
            admin.SetPassword(kPassword);
            admin.Save();
        }
        CDataCopies::Use(&m_programCopies);
        CDataGuard::Use(&m_client);
    }
    ~CGuardedFolder() {
        CDataGuard::Use(nullptr);
        CDataCopies::Use(&m_folder.m_copies);
    }
    CGuardedFolder(const CGuardedFolder&) = delete;
    CGuardedFolder& operator=(const CGuardedFolder&) = delete;

    // The guard's record of a file (parent.nam: with the password hash).
    BYTES Record(const std::string& strFile) {
        BYTES image;
        m_keeper.Read(strFile, image);
        return image;
    }
    // The guard's round, as the service makes it every second.
    void Tick(bool bChildDay = true) { m_core.Tick(bChildDay); }

    CTempFolder m_folder;
    CGuardKeeper m_keeper;
    CGuardCore m_core{m_keeper};
    CLoopTransport m_transport{m_core};
    CGuardClient m_client{m_transport};
    CGuardCopies m_programCopies{CGuardCopies::FolderFor(m_folder.Folder()), false};
};
