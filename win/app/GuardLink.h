// The installed program's link to its guard service. When the guard service of this program's
// folder is registered, every write of the data files, every event, the Administrator's password,
// the program's state and its heartbeat go to the guard through its pipe, and the program reads
// the guard's records; nothing is written by the program itself, so a child's account (which may
// not write the data folder) loses nothing and can change nothing. Without the service (the
// unpacked program) nothing changes.
#pragma once

#include <string>

#include "companion/guard/PipeTransport.h"
#include "companion/win32/MyMessenger.h"
#include "core/guard/GuardCopies.h"

class CGuardLink final : public IMessengerSink {
public:
    // Whether the guard service of the program in that folder is registered.
    static bool IsInstalledFor(const std::string& strProgramDir);

    CGuardLink();
    ~CGuardLink() override;
    CGuardLink(const CGuardLink&) = delete;
    CGuardLink& operator=(const CGuardLink&) = delete;

    // Sends the data's writes, the events, the password, the state and the beat to the guard.
    void Install(CMyMessenger& messenger);
    void Uninstall();
    bool IsInstalled() const { return m_pMessenger != nullptr; }

    void State(int nState) override;
    void Beat(long long tWall, const char* pszUser, const char* pszZone) override;

private:
    CPipeTrust m_trust;
    CPipeTransport m_transport;
    CGuardClient m_client;
    CGuardCopies m_records;
    CMyMessenger* m_pMessenger = nullptr;
};
