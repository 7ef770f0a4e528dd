// Requests made, answers read.
#include "core/guard/GuardClient.h"

bool CGuardClient::Send(GUARD_REQUEST request) {
    request.token = m_token;
    BYTES answer;
    m_last = GUARD_ANSWER{};
    if (!m_transport.Exchange(CGuardMessage::Encode(request), answer) ||
        !CGuardMessage::Decode(answer, request.nKind, m_last)) {
        m_last = GUARD_ANSWER{GUARD_STATUS::BAD, {}, "the guard did not answer"};
        return false;
    }
    return m_last.nStatus == GUARD_STATUS::OK;
}

bool CGuardClient::Write(const std::string& strFile, const BYTES& image) {
    GUARD_REQUEST request;
    request.nKind = GUARD_KIND::WRITE;
    request.strName = strFile;
    request.data = image;
    return Send(request);
}

bool CGuardClient::Event(const std::string& strKind, const std::string& strAccount, const std::string& strDetail) {
    GUARD_REQUEST request;
    request.nKind = GUARD_KIND::EVENT;
    request.strName = strKind;
    request.strAccount = strAccount;
    request.strDetail = strDetail.substr(0, CGuardMessage::kMaxText);
    return Send(request);
}

bool CGuardClient::Login(const std::string& strPassword) {
    // A login replaces whatever proof this program held.
    m_token.clear();
    GUARD_REQUEST request;
    request.nKind = GUARD_KIND::LOGIN;
    request.strName = strPassword.substr(0, CGuardMessage::kMaxName);
    if (!Send(request) || m_last.token.size() != CGuardMessage::kTokenSize) return false;
    m_token = m_last.token;
    return true;
}

void CGuardClient::Logout() {
    if (m_token.empty()) return;
    GUARD_REQUEST request;
    request.nKind = GUARD_KIND::LOGOUT;
    Send(request);
    m_token.clear();
}

bool CGuardClient::IsReachable() {
    GUARD_REQUEST request;
    request.nKind = GUARD_KIND::HELLO;
    return Send(request);
}

bool CGuardClient::Beat(const std::string& strUser, const std::string& strZone) {
    GUARD_REQUEST request;
    request.nKind = GUARD_KIND::BEAT;
    request.strName = strUser;
    request.strAccount = strZone.substr(0, CGuardMessage::kMaxText);
    return Send(request);
}

bool CGuardClient::SetState(int nState) {
    GUARD_REQUEST request;
    request.nKind = GUARD_KIND::STATE;
    request.nState = nState;
    return Send(request);
}
