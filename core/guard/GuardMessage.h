// The requests the program sends the guard over its pipe, and the guard's answers: small records
// of a fixed header and length-prefixed fields, little-endian.
//
//   offset 0   4 bytes  "QGRD"
//          4   2        version (kVersion)
//          6   2        kind
//          8   4        length of the body that follows (at most kMaxBody)
//         12   ...      body: each field a 4-byte length and that many bytes
//
// Every request's first field is the Administrator's token (empty, or kTokenSize bytes). Decoding
// trusts no length: a body that is not exactly as long as the header says, a field that runs past
// the body, a field longer than its kind allows, a kind unknown, or a count of fields other than
// the kind's, and the message is refused whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/seams/Files.h"

enum class GUARD_KIND : std::uint16_t {
    HELLO = 1,   // is the guard there (no field but the token)
    LOGIN = 2,   // the Administrator's password -> a token
    LOGOUT = 3,  // the token ends
    WRITE = 4,   // a data file's bare name and its whole new image
    EVENT = 5,   // an event for the parent's log: kind, account, detail
    BEAT = 6,    // the program is alive: the child logged in ("" none) and the zone it holds
    STATE = 7,   // the program's state (1 locked, 2 a child, 3 closed by the Administrator, 4 the Administrator)
};

enum class GUARD_STATUS : std::uint32_t {
    OK = 0,
    REFUSED = 1,  // understood and refused; the detail says why
    WAIT = 2,     // a password is not taken yet: the detail holds the seconds to wait
    BAD = 3,      // not a request this guard understands (malformed, overlong, cut, unknown)
    FAILED = 4,   // allowed, but the guard could not write it
};

struct GUARD_REQUEST {
    GUARD_KIND nKind = GUARD_KIND::HELLO;
    BYTES token;             // empty or kTokenSize bytes
    std::string strName;     // WRITE: the file; LOGIN: the password; EVENT: the kind; BEAT: the child
    BYTES data;              // WRITE: the image
    std::string strAccount;  // EVENT: the account; BEAT: the zone
    std::string strDetail;   // EVENT: the detail
    std::int32_t nState = 0; // STATE
};

struct GUARD_ANSWER {
    GUARD_STATUS nStatus = GUARD_STATUS::BAD;
    BYTES token;            // LOGIN: the new token
    std::string strDetail;  // why refused; WAIT: the seconds
};

class CGuardMessage {
public:
    static constexpr std::uint16_t kVersion = 1;
    static constexpr std::size_t kHeaderSize = 12;
    // Room for the largest data file with many children; anything longer is refused unread.
    static constexpr std::size_t kMaxBody = 256 * 1024;
    static constexpr std::size_t kMaxMessage = kHeaderSize + kMaxBody;
    static constexpr std::size_t kTokenSize = 16;
    // The longest text fields (a password is cut to 31 bytes by its field; a name to 127).
    static constexpr std::size_t kMaxName = 256;
    static constexpr std::size_t kMaxText = 4096;

    static BYTES Encode(const GUARD_REQUEST& request);
    static BYTES Encode(GUARD_KIND nKind, const GUARD_ANSWER& answer);
    // False (request untouched) for anything but one whole, well-formed request of this version.
    static bool Decode(const BYTES& message, GUARD_REQUEST& request);
    // False for anything but a whole answer to a request of that kind.
    static bool Decode(const BYTES& message, GUARD_KIND nKind, GUARD_ANSWER& answer);
    // The body length a header announces, or SIZE_MAX when the header is not one of ours: a reader
    // of a stream knows from it how much more to read (and never more than kMaxBody).
    static std::size_t BodyLength(const std::uint8_t* pHeader, std::size_t nSize);
    // Short name of a kind, as the refusals show it.
    static const char* KindName(GUARD_KIND nKind);
};
