// The guard's rounds over the sessions, and its pipe's requests.
#include "companion/guard/GuardHost.h"

#include <algorithm>

#include "companion/CompanionNames.h"
#include "companion/guard/FolderRights.h"
#include "core/seams/Clock.h"
#include "core/seams/DataFolder.h"
#include "core/seams/Events.h"

namespace {

std::string WithoutSeparator(const std::string& strFolder) {
    return !strFolder.empty() && (strFolder.back() == '\\' || strFolder.back() == '/')
               ? strFolder.substr(0, strFolder.size() - 1)
               : strFolder;
}

std::string ImagePath(unsigned long nPid) {
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, nPid);
    if (!hProcess) return {};
    char szPath[MAX_PATH] = {};
    DWORD nSize = MAX_PATH;
    const bool bGot = ::QueryFullProcessImageNameA(hProcess, 0, szPath, &nSize) != FALSE;
    ::CloseHandle(hProcess);
    return bGot ? std::string(szPath, nSize) : std::string();
}

}  // namespace

CGuardHost::CGuardHost(std::string strPipe, std::string strProgram, ISessionControl& sessions)
    : m_strProgram(std::move(strProgram)), m_sessions(sessions),
      m_server(std::move(strPipe), [this](const BYTES& request, const GUARD_CLIENT& client) { return Handle(request, client); }) {
    m_core.UseListener(this);
}

CGuardHost::~CGuardHost() { Stop(); }

bool CGuardHost::Start() {
    // Rights first: a right changed while the guard was not running is put back before anything.
    CFolderRights::GuardData(WithoutSeparator(CDataFolder::Get()));
    m_keeper.Start();
    CFolderRights::GuardPrivate(WithoutSeparator(m_keeper.PrivateFolder()));
    // Everything the guard runs writes through its keeper; its own events go to the parent's log.
    CDataGuard::Use(&m_keeper);
    CDataCopies::Use(&m_keeper.Records());
    CEvents::Use(&m_sink);
    m_messenger.SetMainProgPathName(m_strProgram.c_str());
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_core.Zone().Hold("");
        m_protected.Load();
    }
    if (!m_server.Start()) {
        CEvents::Use(nullptr);
        return false;
    }
    m_bStarted = true;
    return true;
}

void CGuardHost::Stop() {
    if (!m_bStarted) return;
    m_bStarted = false;
    m_server.Stop();
    for (auto& [nSession, watched] : m_watched)
        if (watched.hProcess) ::CloseHandle(watched.hProcess);
    m_watched.clear();
    CEvents::Use(nullptr);
    CDataGuard::Use(nullptr);
    CDataCopies::Use(nullptr);
}

void CGuardHost::Run(HANDLE hStop) {
    if (::WaitForSingleObject(hStop, kFirstRoundMs) == WAIT_OBJECT_0) return;
    for (int nRound = 0;; ++nRound) {
        Round(nRound % 4 == 0);
        if (::WaitForSingleObject(hStop, kRoundMs) == WAIT_OBJECT_0) return;
    }
}

void CGuardHost::Round(bool bTick) {
    const std::vector<GUARD_SESSION> sessions = m_sessions.ActiveSessions();
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::int64_t nNowMs = CClock::RunningMs();
    if (bTick) m_protected.Load();
    bool bChildDay = false;
    std::vector<unsigned long> looked;
    for (const GUARD_SESSION& session : sessions) {
        if (!m_protected.IsProtected(session.strAccount, session.bAdministrator)) continue;
        bChildDay = true;
        looked.push_back(session.nId);
        Look(session, nNowMs);
    }
    // Sessions that ended, or are no longer protected: their watch goes, their program is left alone.
    std::vector<unsigned long> gone;
    for (const auto& [nSession, watched] : m_watched)
        if (std::find(looked.begin(), looked.end(), nSession) == looked.end()) gone.push_back(nSession);
    for (unsigned long nSession : gone) Forget(nSession);
    if (bTick) m_core.Tick(bChildDay);
}

void CGuardHost::Look(const GUARD_SESSION& session, std::int64_t nNowMs) {
    CSessionWatch& watch = m_core.Session(session.nId);
    m_watched.try_emplace(session.nId);
    HANDLE hProcess = ProcessOf(session.nId, watch.Pid());
    const bool bAlive = hProcess && ::WaitForSingleObject(hProcess, 0) == WAIT_TIMEOUT;
    if (hProcess && !bAlive) m_core.OnProcessEnded(watch.Pid());
    const WATCH_ACTION action = watch.Decide(bAlive, m_core.IsAdministratorIn(), nNowMs);
    if (action == WATCH_ACTION::NONE) return;
    if (action == WATCH_ACTION::RESTART && hProcess) {
        ::TerminateProcess(hProcess, 1);
        ::WaitForSingleObject(hProcess, 5000);
        m_core.OnProcessEnded(watch.Pid());
    }
    // The gap is counted, and the files put right, before the new program reads them.
    m_core.CountGap(session.nId, action == WATCH_ACTION::RESTART);
    m_core.Tick(true);
    const std::string strCommandLine = "\"" + m_strProgram + "\" " + kMuteToken;
    watch.OnStarted(m_sessions.StartProgram(session.nId, m_strProgram, strCommandLine), nNowMs);
}

HANDLE CGuardHost::ProcessOf(unsigned long nSession, unsigned long nPid) {
    WATCHED& watched = m_watched[nSession];
    if (watched.nPid != nPid) {
        if (watched.hProcess) ::CloseHandle(watched.hProcess);
        watched.hProcess = nPid ? ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                                                FALSE, nPid)
                                : nullptr;
        watched.nPid = nPid;
    }
    return watched.hProcess;
}

void CGuardHost::Forget(unsigned long nSession) {
    const auto it = m_watched.find(nSession);
    if (it != m_watched.end()) {
        if (it->second.hProcess) ::CloseHandle(it->second.hProcess);
        m_watched.erase(it);
    }
    m_core.ForgetSession(nSession);
}

bool CGuardHost::IsProgram(unsigned long nPid) {
    // Asked anew each time: a process id is reused once its process has ended.
    const std::string strImage = ImagePath(nPid);
    return !strImage.empty() && ::lstrcmpiA(strImage.c_str(), m_strProgram.c_str()) == 0;
}

BYTES CGuardHost::Handle(const BYTES& request, GUARD_CLIENT client) {
    std::lock_guard<std::mutex> lock(m_mutex);
    client.bProgram = client.nPid && IsProgram(client.nPid);
    return m_core.Handle(request, client);
}

void CGuardHost::OnBeat(const GUARD_CLIENT& client, const std::string& strUser, const std::string& strZone) {
    m_messenger.BeatAs(client.nPid, CClock::Now(), strUser.c_str(), strZone.c_str());
}

void CGuardHost::OnState(const GUARD_CLIENT& client, int nState) {
    if (nState == 0)
        m_messenger.BeatAs(client.nPid, 0, "", "");
    else
        m_messenger.SetMainProgState(nState);
}
