// Fuzz target: any bytes offered to the guard's decoder as a request or an answer never fault; a
// message taken is exactly the one its fields encode again (nothing was read that is not there).
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/guard/GuardMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const BYTES message(pData, pData + nSize);
    GUARD_REQUEST request;
    if (CGuardMessage::Decode(message, request) && CGuardMessage::Encode(request) != message) {
        std::fprintf(stderr, "a request decoded from bytes it does not encode to\n");
        std::abort();
    }
    for (std::uint16_t nKind = 1; nKind <= 7; ++nKind) {
        GUARD_ANSWER answer;
        const auto kind = static_cast<GUARD_KIND>(nKind);
        if (CGuardMessage::Decode(message, kind, answer) && CGuardMessage::Encode(kind, answer) != message) {
            std::fprintf(stderr, "an answer decoded from bytes it does not encode to\n");
            std::abort();
        }
    }
    CGuardMessage::BodyLength(pData, nSize);
    return 0;
}
