// The guard's work on Windows, driven without the service manager: in a protected session it
// starts the program, starts it again at once when it is ended and after 5 s when it stands still
// (suspended), counts and logs each gap, and leaves an administrator's session alone; the data
// folder's rights give Users no write, delete or change of rights.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <tlhelp32.h>

#include <cstring>
#include <thread>

#include "companion/guard/FolderRights.h"
#include "companion/guard/GuardHost.h"
#include "companion/guard/PipeTransport.h"
#include "core/store/EventLog.h"
#include "platform/win32/ModulePath.h"
#include "support/TempFolder.h"
#include "TestHelpers.h"
#include "platform/win32/ThreadSuspension.h"

namespace {

constexpr const char* kBeatSwitch = "--guard-beat";

// The helper: beats to the guard's pipe every half second as the program would, until its guard
// is gone for good. It trusts the pipe served by the process that started it.
class CParentTrust final : public CPipeTrust {
public:
    explicit CParentTrust(unsigned long nPid) : m_nPid(nPid) {}

protected:
    unsigned long GuardPid() override { return m_nPid; }

private:
    unsigned long m_nPid;
};

int BeatAsTheProgram(const char* pszPipe, unsigned long nGuardPid) {
    CParentTrust trust(nGuardPid);
    CPipeTransport transport(pszPipe, trust);
    CGuardClient client(transport);
    for (int nMissed = 0; nMissed < 20;) {
        nMissed = client.Beat("kid", "zone") ? 0 : nMissed + 1;
        ::Sleep(500);
    }
    return 0;
}

// Sessions of the test's own: the test's session as a child's, and another as an administrator's.
class CTestSessions final : public ISessionControl {
public:
    std::vector<GUARD_SESSION> ActiveSessions() override {
        DWORD nOwn = 0;
        ::ProcessIdToSessionId(::GetCurrentProcessId(), &nOwn);
        return {GUARD_SESSION{nOwn, "kid", false}, GUARD_SESSION{nOwn + 100, "parent", true}};
    }
    unsigned long StartProgram(unsigned long nSession, const std::string& strPath, const std::string&) override {
        std::string strLine = "\"" + strPath + "\" " + kBeatSwitch + " " + m_strPipe + " " +
                              std::to_string(::GetCurrentProcessId());
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessA(nullptr, strLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0;
        ::CloseHandle(pi.hThread);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_started.push_back({nSession, pi.dwProcessId, pi.hProcess, ::GetTickCount()});
        return pi.dwProcessId;
    }
    ~CTestSessions() override {
        for (const STARTED& started : m_started) {
            ::TerminateProcess(started.hProcess, 0);
            ::CloseHandle(started.hProcess);
        }
    }
    struct STARTED {
        unsigned long nSession;
        unsigned long nPid;
        HANDLE hProcess;
        DWORD nTick;
    };
    std::vector<STARTED> Started() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_started;
    }
    std::string m_strPipe;

private:
    std::mutex m_mutex;
    std::vector<STARTED> m_started;
};

bool WaitFor(const std::function<bool()>& condition, DWORD nMilliseconds) {
    const DWORD nStart = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - nStart > nMilliseconds) return false;
        ::Sleep(50);
    }
    return true;
}

// Suspends every thread of a process, as a process tool does.
void Suspend(unsigned long nPid) { SuspendThreadsOf(nPid); }

std::size_t EventsOf(const char* pszKind) {
    std::size_t n = 0;
    for (const EVENT_ENTRY& entry : CEventLog::ReadAll()) n += entry.strKind == pszKind;
    return n;
}

}  // namespace

int RunTestHelper(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], kBeatSwitch) == 0) return BeatAsTheProgram(argv[2], std::strtoul(argv[3], nullptr, 10));
    return -1;
}

TEST(GuardHost, TheProgramIsStartedInAProtectedSessionAndBroughtBackWhenEndedOrSuspended) {
    CTempFolder folder;
    CTestSessions sessions;
    sessions.m_strPipe = "\\\\.\\pipe\\QuenbyGuardHostTest-" + std::to_string(::GetCurrentProcessId());
    char szSelf[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szSelf, MAX_PATH);
    CGuardHost host(sessions.m_strPipe, szSelf, sessions);
    ASSERT_TRUE(host.Start());
    HANDLE hStop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread rounds([&host, hStop] { host.Run(hStop); });

    auto Beating = [](unsigned long nPid) {
        return [nPid] {
            CMyMessenger messenger;
            LUMRIK_BEAT beat;
            return messenger.ReadBeat(&beat) && beat.nPid == nPid;
        };
    };
    ASSERT_TRUE(WaitFor([&] { return sessions.Started().size() == 1; }, 10000)) << "the program started in the session";
    EXPECT_EQ(sessions.Started()[0].nSession, sessions.ActiveSessions()[0].nId) << "not in the administrator's";
    ASSERT_TRUE(WaitFor(Beating(sessions.Started()[0].nPid), 10000)) << "the started program beat";

    // Ended (Task Manager): back at once, the gap logged.
    const DWORD nEnded = ::GetTickCount();
    ::TerminateProcess(sessions.Started()[0].hProcess, 1);
    ASSERT_TRUE(WaitFor([&] { return sessions.Started().size() == 2; }, 10000)) << "started again after its end";
    std::printf("started again %lu ms after the end\n", sessions.Started()[1].nTick - nEnded);
    ASSERT_TRUE(WaitFor(Beating(sessions.Started()[1].nPid), 10000));

    // Suspended: ended and started again once it has not beaten for 5 s.
    const DWORD nSuspended = ::GetTickCount();
    Suspend(sessions.Started()[1].nPid);
    ASSERT_TRUE(WaitFor([&] { return sessions.Started().size() == 3; }, 20000)) << "replaced after it stood still";
    const DWORD nReplaced = sessions.Started()[2].nTick - nSuspended;
    std::printf("replaced %lu ms after the suspension\n", nReplaced);
    EXPECT_GE(nReplaced, DWORD(CSessionWatch::kBeatTimeoutMs) - 600) << "not before 5 s without a beat";
    EXPECT_EQ(::WaitForSingleObject(sessions.Started()[1].hProcess, 5000), WAIT_OBJECT_0) << "the suspended one was ended";

    ::SetEvent(hStop);
    rounds.join();
    host.Stop();
    ::CloseHandle(hStop);
    EXPECT_EQ(EventsOf("killed"), 2u) << "both gaps counted and logged";
    EXPECT_EQ(EventsOf("suspended"), 1u);
    EXPECT_EQ(sessions.Started().size(), 3u) << "nothing started in the administrator's session";
}

TEST(GuardHost, TheDataFoldersRightsGiveUsersNoWriteDeleteOrChangeOfRights) {
    CTempFolder folder;
    std::string strFolder = folder.Folder();
    strFolder.pop_back();
    ASSERT_TRUE(CFolderRights::GuardData(strFolder));
    PACL pDacl = nullptr;
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    ASSERT_EQ(::GetNamedSecurityInfoA(strFolder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                      &pDacl, nullptr, &pDescriptor),
              DWORD(ERROR_SUCCESS));
    ASSERT_NE(pDacl, nullptr);
    constexpr ACCESS_MASK kChanging = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                      FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
    int nReaders = 0;
    for (DWORD n = 0; n < pDacl->AceCount; ++n) {
        ACCESS_ALLOWED_ACE* pAce = nullptr;
        ASSERT_TRUE(::GetAce(pDacl, n, reinterpret_cast<void**>(&pAce)));
        if (pAce->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        char* pszSid = nullptr;
        ASSERT_TRUE(::ConvertSidToStringSidA(&pAce->SidStart, &pszSid));
        const std::string strSid = pszSid;
        ::LocalFree(pszSid);
        // Users, Everyone, Authenticated Users, Interactive: none may change anything.
        if (strSid == "S-1-5-32-545" || strSid == "S-1-1-0" || strSid == "S-1-5-11" || strSid == "S-1-5-4") {
            EXPECT_EQ(pAce->Mask & kChanging, 0u) << strSid;
            ++nReaders;
        }
    }
    EXPECT_GT(nReaders, 0) << "someone besides the guard may read";
    ::LocalFree(pDescriptor);
    EXPECT_TRUE(CFolderRights::Release(strFolder));
}
