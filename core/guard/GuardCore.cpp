// Requests answered, writes judged, gaps counted.
#include "core/guard/GuardCore.h"

#include "core/guard/WriteCheck.h"
#include "core/rules/KillGap.h"
#include "core/seams/Events.h"
#include "core/store/AdminAccount.h"
#include "core/store/EventLog.h"
#include "core/store/PasswordField.h"
#include "core/store/PrjStore.h"
#include "core/store/UsageStore.h"

namespace {

GUARD_ANSWER Answer(GUARD_STATUS nStatus, std::string strDetail = {}) {
    GUARD_ANSWER answer;
    answer.nStatus = nStatus;
    answer.strDetail = std::move(strDetail);
    return answer;
}

// The kind of a message whose header can be read, so that even a refusal answers in kind.
GUARD_KIND KindOf(const BYTES& message) {
    if (message.size() < CGuardMessage::kHeaderSize) return GUARD_KIND::HELLO;
    const int nKind = message[6] | message[7] << 8;
    return nKind >= 1 && nKind <= 7 ? static_cast<GUARD_KIND>(nKind) : GUARD_KIND::HELLO;
}

// Event kinds that only the guard writes, and those that need the Administrator.
bool IsGuardsOwn(const std::string& strKind) {
    return strKind == CEventLog::kRefused || strKind == CEventLog::kChanged || strKind == CEventLog::kFirstRun;
}
bool NeedsAdministrator(const std::string& strKind) {
    return strKind == CEventLog::kLogin || strKind == CEventLog::kExtraTime;
}

}  // namespace

BYTES CGuardCore::Handle(const BYTES& message, const GUARD_CLIENT& client) {
    CKeeperScope scope(m_keeper);
    GUARD_REQUEST request;
    if (!CGuardMessage::Decode(message, request)) {
        Refuse(client, "a request of " + std::to_string(message.size()) + " bytes",
               "it is not one the guard understands (overlong, cut short or malformed)");
        return CGuardMessage::Encode(KindOf(message), Answer(GUARD_STATUS::BAD, "not a request"));
    }
    // A token that is not good now is refused outright: it was made up, or it ran out.
    const bool bAdministrator = m_tokens.IsValid(request.token, client.nPid);
    GUARD_ANSWER answer;
    if (!request.token.empty() && !bAdministrator && request.nKind != GUARD_KIND::LOGOUT) {
        answer = Refuse(client, std::string("a ") + CGuardMessage::KindName(request.nKind) +
                                    (request.nKind == GUARD_KIND::WRITE ? " of " + request.strName : std::string()),
                        "its Administrator's proof is made up or has run out");
    } else {
        switch (request.nKind) {
            case GUARD_KIND::HELLO:
                answer = Answer(GUARD_STATUS::OK);
                break;
            case GUARD_KIND::LOGIN:
                answer = Login(request, client);
                break;
            case GUARD_KIND::LOGOUT:
                m_tokens.End(request.token);
                answer = Answer(GUARD_STATUS::OK);
                break;
            case GUARD_KIND::WRITE:
                answer = Write(request, client, bAdministrator);
                break;
            case GUARD_KIND::EVENT:
                answer = Event(request, bAdministrator);
                if (answer.nStatus == GUARD_STATUS::REFUSED)
                    answer = Refuse(client, "an event of kind \"" + request.strName + "\"", answer.strDetail);
                break;
            case GUARD_KIND::BEAT:
                if (!client.bProgram) {
                    answer = Refuse(client, "a heartbeat", "it does not come from Quenby");
                    break;
                }
                m_sessions[client.nSession].OnBeat(client.nPid, request.strName, CClock::Now(), CClock::RunningMs());
                if (m_pListener) m_pListener->OnBeat(client, request.strName, request.strAccount);
                answer = Answer(GUARD_STATUS::OK);
                break;
            case GUARD_KIND::STATE:
                answer = State(request, client, bAdministrator);
                break;
        }
    }
    return CGuardMessage::Encode(request.nKind, answer);
}

GUARD_ANSWER CGuardCore::Login(const GUARD_REQUEST& request, const GUARD_CLIENT& client) {
    const TIMESECS tNow = CClock::Now();
    if (const int nWait = m_throttle.SecondsLeft(tNow)) return Answer(GUARD_STATUS::WAIT, std::to_string(nWait));
    BYTES record;
    const bool bRight = m_keeper.Read(CAdminAccount::kFileName, record) && record.size() == sizeof(ADMIN_ACCOUNT) &&
                        CPasswordField::Matches(record.data() + offsetof(ADMIN_ACCOUNT, szPassword), request.strName);
    if (!bRight) {
        m_throttle.OnWrong(tNow);
        return Answer(GUARD_STATUS::REFUSED, "wrong password");
    }
    m_throttle.OnRight();
    GUARD_ANSWER answer = Answer(GUARD_STATUS::OK);
    if (!m_tokens.Issue(client.nPid, answer.token)) return Answer(GUARD_STATUS::FAILED, "no token could be made");
    return answer;
}

GUARD_ANSWER CGuardCore::Write(const GUARD_REQUEST& request, const GUARD_CLIENT& client, bool bAdministrator) {
    const std::string strWhat = "a write of " + request.strName;
    if (!CWriteCheck::IsKnown(request.strName)) return Refuse(client, strWhat, "it is not a data file of Quenby");
    WRITE_CONTEXT context;
    context.bAdministrator = bAdministrator;
    context.strChild = ChildOf(client);
    context.tNow = CClock::Now();
    m_keeper.Read(CPrjStore::FILE_NAME, context.prj);
    m_keeper.Read(CUsageStore::FILE_NAME, context.usage);
    BYTES old;
    m_keeper.Read(request.strName, old);
    if (std::string strWhy = CWriteCheck::Check(request.strName, old, request.data, context); !strWhy.empty())
        return Refuse(client, strWhat, strWhy);
    return m_keeper.Write(request.strName, request.data) ? Answer(GUARD_STATUS::OK)
                                                         : Answer(GUARD_STATUS::FAILED, "could not be written");
}

GUARD_ANSWER CGuardCore::Event(const GUARD_REQUEST& request, bool bAdministrator) {
    if (request.strName.empty() || IsGuardsOwn(request.strName))
        return Answer(GUARD_STATUS::REFUSED, "only the guard writes events of that kind");
    if (NeedsAdministrator(request.strName) && !bAdministrator)
        return Answer(GUARD_STATUS::REFUSED, "only the Administrator writes events of that kind");
    return m_keeper.Event(request.strName, request.strAccount, request.strDetail)
               ? Answer(GUARD_STATUS::OK)
               : Answer(GUARD_STATUS::FAILED, "could not be written");
}

GUARD_ANSWER CGuardCore::State(const GUARD_REQUEST& request, const GUARD_CLIENT& client, bool bAdministrator) {
    const int nState = request.nState;
    if (!client.bProgram) return Refuse(client, "a state of " + std::to_string(nState), "it does not come from Quenby");
    if (nState < 0 || nState > 4) return Refuse(client, "a state of " + std::to_string(nState), "there is no such state");
    // Closed by the Administrator, or the Administrator in: the program's end would be on purpose.
    if ((nState == 3 || nState == 4) && !bAdministrator)
        return Refuse(client, "a state of " + std::to_string(nState), "only the Administrator may end Quenby on purpose");
    // Back to a child or to the lock: whatever proof that program held ends.
    if (nState != 3 && nState != 4) m_tokens.EndForProcess(client.nPid);
    m_sessions[client.nSession].OnState(nState);
    if (m_pListener) m_pListener->OnState(client, nState);
    return Answer(GUARD_STATUS::OK);
}

GUARD_ANSWER CGuardCore::Refuse(const GUARD_CLIENT& client, const std::string& strWhat, const std::string& strWhy) {
    m_refusals.Record(ChildOf(client), "The guard refused " + strWhat + " from process " + std::to_string(client.nPid) +
                                           ": " + strWhy + ". Nothing was changed.");
    return Answer(GUARD_STATUS::REFUSED, strWhy);
}

std::string CGuardCore::ChildOf(const GUARD_CLIENT& client) {
    const auto it = m_sessions.find(client.nSession);
    return it == m_sessions.end() ? std::string() : it->second.User();
}

void CGuardCore::Tick(bool bChildDay) {
    CKeeperScope scope(m_keeper);
    m_keeper.Verify();
    m_zone.Check(bChildDay && !IsAdministratorIn());
}

void CGuardCore::CountGap(unsigned long nSession, bool bHung) {
    CKeeperScope scope(m_keeper);
    CSessionWatch& watch = m_sessions[nSession];
    if (bHung)
        CEvents::Record(EVENT_KIND::PROGRAM_HUNG, "Quenby stood still for 5 s (suspended or hung); the guard ended it and started it again.");
    if (watch.LastBeat() > 0) {
        CUsageStore usage;
        CKillGap(watch.LastBeat(), watch.User()).Account(usage);
    }
    watch.GapCounted();
}
