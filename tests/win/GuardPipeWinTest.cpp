// The guard's named pipe under Wine: a request travels to the guard and its answer back; the name
// belongs to the first server alone; nothing is sent to a pipe the program does not trust (a
// squatter's); an overlong or silent client is cut off while others are served; the pipe's rights
// let interactive users write requests but not own or change it.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

#include "companion/guard/PipeIo.h"
#include "companion/guard/PipeSecurity.h"
#include "companion/guard/PipeServer.h"
#include "companion/guard/PipeTransport.h"
#include "core/store/PrjStore.h"
#include "support/FakeClock.h"
#include "support/GuardedFolder.h"

namespace {

std::string PipeName() {
    static int s_nCount = 0;
    return "\\\\.\\pipe\\QuenbyGuardTest-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(s_nCount++);
}

// The guard is whichever process the test names, and the pipe's owner what the test says.
class CTestTrust final : public CPipeTrust {
public:
    unsigned long m_nGuardPid = ::GetCurrentProcessId();
    std::optional<std::string> m_owner;  // nullopt: as the system tells

protected:
    unsigned long GuardPid() override { return m_nGuardPid; }
    std::string OwnerOf(HANDLE hPipe) override { return m_owner ? *m_owner : CPipeTrust::OwnerOf(hPipe); }
};

// A program of the child's that created the pipe's name first and keeps what it is sent.
class CSquatter {
public:
    explicit CSquatter(const std::string& strName) {
        m_hPipe = ::CreateNamedPipeA(strName.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                     PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE, 1, 4096, 4096, 0, nullptr);
        m_thread = std::thread([this] {
            CEventHandle connected;
            OVERLAPPED overlapped{};
            overlapped.hEvent = connected.Get();
            if (!::ConnectNamedPipe(m_hPipe, &overlapped) && ::GetLastError() == ERROR_IO_PENDING &&
                ::WaitForSingleObject(connected.Get(), 10000) != WAIT_OBJECT_0)
                return;
            m_bConnected = true;
            BYTES got;
            if (CPipeIo::ReadMessage(m_hPipe, got, 1 << 20, 1000)) m_nReceived = got.size();
        });
    }
    ~CSquatter() {
        if (m_thread.joinable()) m_thread.join();
        ::CloseHandle(m_hPipe);
    }
    std::size_t Received() {
        if (m_thread.joinable()) m_thread.join();
        return m_nReceived;
    }
    bool IsHeld() const { return m_hPipe != INVALID_HANDLE_VALUE; }
    std::atomic<bool> m_bConnected{false};

private:
    HANDLE m_hPipe;
    std::atomic<std::size_t> m_nReceived{0};
    std::thread m_thread;
};

// A guard with its pipe, on a data folder of the test's own.
class GuardPipe : public ::testing::Test {
protected:
    GuardPipe() {
        m_server = std::make_unique<CPipeServer>(m_strName, [this](const BYTES& request, const GUARD_CLIENT& client) {
            m_lastClient = client;
            return m_guarded.m_core.Handle(request, client);
        });
    }
    // A raw exchange, as any program could make it.
    bool Raw(const BYTES& request, BYTES& answer, bool bSend = true) {
        const HANDLE hPipe = ::CreateFileA(m_strName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                           FILE_FLAG_OVERLAPPED, nullptr);
        if (hPipe == INVALID_HANDLE_VALUE) return false;
        DWORD nMode = PIPE_READMODE_MESSAGE;
        ::SetNamedPipeHandleState(hPipe, &nMode, nullptr, nullptr);
        const bool bDone = (!bSend || CPipeIo::WriteMessage(hPipe, request, 10000)) &&
                           CPipeIo::ReadMessage(hPipe, answer, CGuardMessage::kMaxMessage, 15000);
        ::CloseHandle(hPipe);
        return bDone;
    }

    CFakeClock m_clock{1778576400};
    CGuardedFolder m_guarded;
    std::string m_strName = PipeName();
    std::unique_ptr<CPipeServer> m_server;
    GUARD_CLIENT m_lastClient;
    CTestTrust m_trust;
    CPipeTransport m_transport{m_strName, m_trust};
    CGuardClient m_client{m_transport};
};

}  // namespace

TEST_F(GuardPipe, ARequestReachesTheGuardAndItsAnswerComesBack) {
    ASSERT_TRUE(m_server->Start());
    EXPECT_TRUE(m_client.IsReachable());
    EXPECT_EQ(m_lastClient.nPid, ::GetCurrentProcessId()) << "who asks is the pipe's to tell";
    DWORD nSession = 0;
    ::ProcessIdToSessionId(::GetCurrentProcessId(), &nSession);
    EXPECT_EQ(m_lastClient.nSession, nSession);

    CUserPrj free("kid");
    free.m_days.fill(CDayPrj());
    for (CDayPrj& day : free.m_days) day.m_bFree = 1;
    EXPECT_FALSE(m_client.Write("prj.nam", CPrjStore::Image({free})));
    EXPECT_EQ(m_client.LastAnswer().nStatus, GUARD_STATUS::REFUSED);
    ASSERT_TRUE(m_client.Login(CGuardedFolder::kPassword));
    EXPECT_TRUE(m_client.Write("prj.nam", CPrjStore::Image({free})));
    EXPECT_EQ(m_guarded.Record("prj.nam").size(), CUserPrj::BLOCK_SIZE);
    m_client.Logout();
    EXPECT_FALSE(m_client.Write("prj.nam", BYTES()));
}

TEST_F(GuardPipe, TheNameBelongsToTheFirstServerAlone) {
    ASSERT_TRUE(m_server->Start());
    CPipeServer second(m_strName, [](const BYTES&, const GUARD_CLIENT&) { return BYTES(); });
    EXPECT_FALSE(second.Start()) << "a second guard, or anyone, cannot serve the name";
    m_server->Stop();

    // Someone who took the name while no guard ran: the guard does not start beside it.
    const std::string strTaken = PipeName();
    CSquatter squatter(strTaken);
    ASSERT_TRUE(squatter.IsHeld());
    CPipeServer late(strTaken, [](const BYTES&, const GUARD_CLIENT&) { return BYTES(); });
    EXPECT_FALSE(late.Start());
    HANDLE hWake = ::CreateFileA(strTaken.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hWake != INVALID_HANDLE_VALUE) ::CloseHandle(hWake);
}

TEST_F(GuardPipe, NothingIsSentToAPipeTheProgramDoesNotTrust) {
    const struct {
        const char* pszCase;
        std::function<void(CTestTrust&)> arrange;
    } cases[] = {
        {"the guard service runs in another process", [](CTestTrust& trust) { trust.m_nGuardPid = 4; }},
        {"the guard service is not running", [](CTestTrust& trust) { trust.m_nGuardPid = 0; }},
        {"the pipe's owner is a child's account",
         [](CTestTrust& trust) { trust.m_owner = "S-1-5-21-1004336348-1177238915-682003330-1001"; }},
        {"the pipe's owner cannot be read", [](CTestTrust& trust) { trust.m_owner = "?"; }},
        {"the pipe has no owner (as the squatter made it)", [](CTestTrust&) {}},
    };
    for (const auto& c : cases) {
        const std::string strName = PipeName();
        CSquatter squatter(strName);
        ASSERT_TRUE(squatter.IsHeld()) << c.pszCase;
        CTestTrust trust;
        c.arrange(trust);
        CPipeTransport transport(strName, trust);
        CGuardClient client(transport);
        EXPECT_FALSE(client.Login("the parent's password")) << c.pszCase;
        EXPECT_TRUE(transport.MetStranger()) << c.pszCase;
        EXPECT_EQ(squatter.Received(), 0u) << c.pszCase << ": the squatter got something";
    }

    // No pipe at all where the guard should be: nothing to send to, and no write is taken for done.
    CTestTrust trust;
    CPipeTransport nowhere(PipeName(), trust);
    CGuardClient client(nowhere);
    EXPECT_FALSE(client.Write("use.sta", BYTES(220, 0)));
    EXPECT_FALSE(client.IsReachable());

    // The same squatter, trusted by a careless program, would have had the password.
    const std::string strName = PipeName();
    CSquatter squatter(strName);
    CTestTrust careless;
    careless.m_owner = CPipeTrust::kSystemSid;
    CPipeTransport carelessTransport(strName, careless);
    CGuardClient fooled(carelessTransport);
    fooled.Login("the parent's password");
    EXPECT_GT(squatter.Received(), 0u) << "the check above is what stops it";
}

TEST_F(GuardPipe, AnOverlongOrSilentClientIsCutOffWhileOthersAreServed) {
    ASSERT_TRUE(m_server->Start());
    BYTES answer;
    ASSERT_TRUE(Raw(BYTES(CGuardMessage::kMaxMessage + 100, 'Q'), answer));
    GUARD_ANSWER decoded;
    ASSERT_TRUE(CGuardMessage::Decode(answer, GUARD_KIND::HELLO, decoded));
    EXPECT_EQ(decoded.nStatus, GUARD_STATUS::BAD);

    // One client connects and says nothing; another is served meanwhile.
    const HANDLE hSilent = ::CreateFileA(m_strName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_OVERLAPPED, nullptr);
    ASSERT_NE(hSilent, INVALID_HANDLE_VALUE);
    const DWORD nStart = ::GetTickCount();
    EXPECT_TRUE(m_client.IsReachable());
    EXPECT_LT(::GetTickCount() - nStart, CPipeServer::kIoTimeoutMs) << "not held up by the silent one";
    BYTES nothing;
    EXPECT_FALSE(CPipeIo::ReadMessage(hSilent, nothing, 100, 3 * CPipeServer::kIoTimeoutMs))
        << "the silent client is let go without an answer";
    ::CloseHandle(hSilent);
    EXPECT_TRUE(m_client.IsReachable());
}

TEST(GuardPipeRights, InteractiveUsersMayWriteRequestsButNotOwnOrChangeThePipe) {
    CPipeSecurity security;
    ASSERT_NE(security.Attributes(), nullptr);
    PSECURITY_DESCRIPTOR pDescriptor = security.Attributes()->lpSecurityDescriptor;
    SECURITY_DESCRIPTOR_CONTROL nControl = 0;
    DWORD nRevision = 0;
    ASSERT_TRUE(::GetSecurityDescriptorControl(pDescriptor, &nControl, &nRevision));
    EXPECT_TRUE(nControl & SE_DACL_PROTECTED) << "nothing inherited";
    BOOL bPresent = FALSE, bDefaulted = FALSE;
    PACL pDacl = nullptr;
    ASSERT_TRUE(::GetSecurityDescriptorDacl(pDescriptor, &bPresent, &pDacl, &bDefaulted));
    ASSERT_TRUE(bPresent && pDacl);
    bool bInteractive = false;
    for (DWORD n = 0; n < pDacl->AceCount; ++n) {
        ACCESS_ALLOWED_ACE* pAce = nullptr;
        ASSERT_TRUE(::GetAce(pDacl, n, reinterpret_cast<void**>(&pAce)));
        char* pszSid = nullptr;
        ASSERT_TRUE(::ConvertSidToStringSidA(&pAce->SidStart, &pszSid));
        const std::string strSid = pszSid;
        ::LocalFree(pszSid);
        if (strSid == "S-1-5-18" || strSid == "S-1-5-32-544") continue;  // the system, administrators
        ASSERT_EQ(strSid, "S-1-5-4") << "only interactive users besides";
        bInteractive = true;
        const ACCESS_MASK nMask = pAce->Mask;
        EXPECT_EQ(nMask & (FILE_READ_DATA | FILE_WRITE_DATA), DWORD(FILE_READ_DATA | FILE_WRITE_DATA));
        EXPECT_EQ(nMask & (WRITE_DAC | WRITE_OWNER | FILE_CREATE_PIPE_INSTANCE | GENERIC_ALL), 0u);
    }
    EXPECT_TRUE(bInteractive);
}
