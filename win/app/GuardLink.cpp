// The program's requests to its guard.
#include "win/app/GuardLink.h"

#include "companion/CompanionNames.h"
#include "companion/guard/ServiceSetup.h"
#include "core/seams/DataFolder.h"

bool CGuardLink::IsInstalledFor(const std::string& strProgramDir) { return CServiceSetup::IsRegisteredFor(strProgramDir); }

CGuardLink::CGuardLink()
    : m_transport(kGuardPipeName, m_trust), m_client(m_transport),
      m_records(CGuardCopies::FolderFor(CDataFolder::Get()), false) {}

CGuardLink::~CGuardLink() { Uninstall(); }

void CGuardLink::Install(CMyMessenger& messenger) {
    CDataGuard::Use(&m_client);
    CDataCopies::Use(&m_records);
    messenger.UseSink(this);
    m_pMessenger = &messenger;
}

void CGuardLink::Uninstall() {
    if (!m_pMessenger) return;
    m_pMessenger->UseSink(nullptr);
    m_pMessenger = nullptr;
    CDataGuard::Use(nullptr);
    CDataCopies::Use(nullptr);
}

void CGuardLink::State(int nState) {
    m_client.SetState(nState);
    // The Administrator has left (or never came): the proof ends with the state that says so.
    if (nState != 4) m_client.Logout();
}

void CGuardLink::Beat(long long tWall, const char* pszUser, const char* pszZone) {
    if (tWall == 0)
        m_client.SetState(0);  // an orderly end: no gap to count
    else
        m_client.Beat(pszUser, pszZone);
}
