// Encoding and checked decoding of the guard's requests and answers.
#include "core/guard/GuardMessage.h"

#include <cstring>
#include <vector>

namespace {

constexpr std::uint8_t kMagic[4] = {'Q', 'G', 'R', 'D'};

void SetUInt(std::uint8_t* p, std::uint32_t nValue, int nSize) {
    for (int n = 0; n < nSize; ++n) p[n] = static_cast<std::uint8_t>(nValue >> (8 * n));
}

std::uint32_t GetUInt(const std::uint8_t* p, int nSize) {
    std::uint32_t nValue = 0;
    for (int n = nSize - 1; n >= 0; --n) nValue = nValue << 8 | p[n];
    return nValue;
}

// A message under construction: the header is written once the body is complete.
class CMessageWriter {
public:
    void Field(const void* pData, std::size_t nSize) {
        const std::size_t nAt = m_body.size();
        m_body.resize(nAt + 4 + nSize);
        SetUInt(m_body.data() + nAt, static_cast<std::uint32_t>(nSize), 4);
        if (nSize) std::memcpy(m_body.data() + nAt + 4, pData, nSize);
    }
    void Field(const std::string& str) { Field(str.data(), str.size()); }
    void Field(const BYTES& bytes) { Field(bytes.data(), bytes.size()); }
    void Number(std::uint32_t nValue) {
        std::uint8_t bytes[4];
        SetUInt(bytes, nValue, 4);
        Field(bytes, sizeof bytes);
    }
    BYTES Finish(std::uint16_t nKind) const {
        BYTES message(CGuardMessage::kHeaderSize + m_body.size());
        std::memcpy(message.data(), kMagic, 4);
        SetUInt(message.data() + 4, CGuardMessage::kVersion, 2);
        SetUInt(message.data() + 6, nKind, 2);
        SetUInt(message.data() + 8, static_cast<std::uint32_t>(m_body.size()), 4);
        if (!m_body.empty()) std::memcpy(message.data() + CGuardMessage::kHeaderSize, m_body.data(), m_body.size());
        return message;
    }

private:
    BYTES m_body;
};

// The fields of a message whose header was checked; each one checked against its bound.
class CMessageReader {
public:
    // False unless the bytes are exactly one message of this version, and gives its kind.
    bool Open(const BYTES& message, std::uint16_t& nKind) {
        const std::size_t nBody = CGuardMessage::BodyLength(message.data(), message.size());
        if (nBody == SIZE_MAX || message.size() - CGuardMessage::kHeaderSize != nBody) return false;
        nKind = static_cast<std::uint16_t>(GetUInt(message.data() + 6, 2));
        m_pAt = message.data() + CGuardMessage::kHeaderSize;
        m_pEnd = message.data() + message.size();
        return true;
    }
    // The next field, at most nMax bytes long.
    bool Field(BYTES& bytes, std::size_t nMax) {
        if (m_pEnd - m_pAt < 4) return false;
        const std::size_t nSize = GetUInt(m_pAt, 4);
        m_pAt += 4;
        if (nSize > nMax || nSize > static_cast<std::size_t>(m_pEnd - m_pAt)) return false;
        bytes.assign(m_pAt, m_pAt + nSize);
        m_pAt += nSize;
        return true;
    }
    // A text field: no zero byte inside, which a name compared as text would stop at.
    bool Text(std::string& str, std::size_t nMax) {
        BYTES bytes;
        if (!Field(bytes, nMax) || (!bytes.empty() && std::memchr(bytes.data(), 0, bytes.size()))) return false;
        str.assign(bytes.begin(), bytes.end());
        return true;
    }
    bool Number(std::uint32_t& nValue) {
        BYTES bytes;
        if (!Field(bytes, 4) || bytes.size() != 4) return false;
        nValue = GetUInt(bytes.data(), 4);
        return true;
    }
    bool Token(BYTES& token) {
        return Field(token, CGuardMessage::kTokenSize) && (token.empty() || token.size() == CGuardMessage::kTokenSize);
    }
    // Every byte of the body was a field of the kind: nothing may follow.
    bool AtEnd() const { return m_pAt == m_pEnd; }

private:
    const std::uint8_t* m_pAt = nullptr;
    const std::uint8_t* m_pEnd = nullptr;
};

bool IsRequestKind(std::uint16_t nKind) {
    return nKind >= static_cast<std::uint16_t>(GUARD_KIND::HELLO) && nKind <= static_cast<std::uint16_t>(GUARD_KIND::STATE);
}

}  // namespace

std::size_t CGuardMessage::BodyLength(const std::uint8_t* pHeader, std::size_t nSize) {
    if (!pHeader || nSize < kHeaderSize || std::memcmp(pHeader, kMagic, 4) != 0 || GetUInt(pHeader + 4, 2) != kVersion)
        return SIZE_MAX;
    const std::size_t nBody = GetUInt(pHeader + 8, 4);
    return nBody > kMaxBody ? SIZE_MAX : nBody;
}

BYTES CGuardMessage::Encode(const GUARD_REQUEST& request) {
    CMessageWriter writer;
    writer.Field(request.token);
    switch (request.nKind) {
        case GUARD_KIND::HELLO:
        case GUARD_KIND::LOGOUT:
            break;
        case GUARD_KIND::LOGIN:
            writer.Field(request.strName);
            break;
        case GUARD_KIND::WRITE:
            writer.Field(request.strName);
            writer.Field(request.data);
            break;
        case GUARD_KIND::EVENT:
            writer.Field(request.strName);
            writer.Field(request.strAccount);
            writer.Field(request.strDetail);
            break;
        case GUARD_KIND::BEAT:
            writer.Field(request.strName);
            writer.Field(request.strAccount);
            break;
        case GUARD_KIND::STATE:
            writer.Number(static_cast<std::uint32_t>(request.nState));
            break;
    }
    return writer.Finish(static_cast<std::uint16_t>(request.nKind));
}

bool CGuardMessage::Decode(const BYTES& message, GUARD_REQUEST& request) {
    CMessageReader reader;
    std::uint16_t nKind = 0;
    if (!reader.Open(message, nKind) || !IsRequestKind(nKind)) return false;
    GUARD_REQUEST decoded;
    decoded.nKind = static_cast<GUARD_KIND>(nKind);
    if (!reader.Token(decoded.token)) return false;
    bool bFields = true;
    switch (decoded.nKind) {
        case GUARD_KIND::HELLO:
        case GUARD_KIND::LOGOUT:
            break;
        case GUARD_KIND::LOGIN:
            bFields = reader.Text(decoded.strName, kMaxName);
            break;
        case GUARD_KIND::WRITE:
            bFields = reader.Text(decoded.strName, kMaxName) && reader.Field(decoded.data, kMaxBody);
            break;
        case GUARD_KIND::EVENT:
            bFields = reader.Text(decoded.strName, kMaxName) && reader.Text(decoded.strAccount, kMaxName) &&
                      reader.Text(decoded.strDetail, kMaxText);
            break;
        case GUARD_KIND::BEAT:
            bFields = reader.Text(decoded.strName, kMaxName) && reader.Text(decoded.strAccount, kMaxText);
            break;
        case GUARD_KIND::STATE: {
            std::uint32_t nState = 0;
            bFields = reader.Number(nState);
            decoded.nState = static_cast<std::int32_t>(nState);
            break;
        }
    }
    if (!bFields || !reader.AtEnd()) return false;
    request = std::move(decoded);
    return true;
}

BYTES CGuardMessage::Encode(GUARD_KIND nKind, const GUARD_ANSWER& answer) {
    CMessageWriter writer;
    writer.Number(static_cast<std::uint32_t>(answer.nStatus));
    writer.Field(answer.token);
    writer.Field(answer.strDetail);
    return writer.Finish(static_cast<std::uint16_t>(nKind));
}

bool CGuardMessage::Decode(const BYTES& message, GUARD_KIND nKind, GUARD_ANSWER& answer) {
    CMessageReader reader;
    std::uint16_t nAnswerKind = 0;
    if (!reader.Open(message, nAnswerKind) || nAnswerKind != static_cast<std::uint16_t>(nKind)) return false;
    GUARD_ANSWER decoded;
    std::uint32_t nStatus = 0;
    if (!reader.Number(nStatus) || nStatus > static_cast<std::uint32_t>(GUARD_STATUS::FAILED) ||
        !reader.Token(decoded.token) || !reader.Text(decoded.strDetail, kMaxText) || !reader.AtEnd())
        return false;
    decoded.nStatus = static_cast<GUARD_STATUS>(nStatus);
    answer = std::move(decoded);
    return true;
}

const char* CGuardMessage::KindName(GUARD_KIND nKind) {
    switch (nKind) {
        case GUARD_KIND::HELLO: return "hello";
        case GUARD_KIND::LOGIN: return "password";
        case GUARD_KIND::LOGOUT: return "logout";
        case GUARD_KIND::WRITE: return "write";
        case GUARD_KIND::EVENT: return "event";
        case GUARD_KIND::BEAT: return "heartbeat";
        case GUARD_KIND::STATE: return "state";
    }
    return "request";
}
