// Fuzz target: any bytes as events.log are read without a fault; the events since the last login
// are the tail of all of them; an event appended is read back last, behind every event read
// before, with its tabs and line breaks made blanks.
#include <cstdlib>

#include "core/store/EventLog.h"
#include "FuzzDataFile.h"

namespace {

bool operator==(const EVENT_ENTRY& a, const EVENT_ENTRY& b) {
    return a.strTime == b.strTime && a.strKind == b.strKind && a.strAccount == b.strAccount &&
           a.strDetail == b.strDetail;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::Folder();
    fuzz::WriteFile(CEventLog::kFileName, pData, nSize);
    const std::vector<EVENT_ENTRY> before = CEventLog::ReadAll();
    const std::vector<EVENT_ENTRY> recent = CEventLog::SinceLastLogin();
    if (recent.size() > before.size()) std::abort();
    for (std::size_t n = 0; n < recent.size(); ++n) {
        const EVENT_ENTRY& entry = recent[n];
        if (!(entry == before[before.size() - recent.size() + n]) || entry.strKind == CEventLog::kLogin) std::abort();
    }

    if (!CEventLog::Append("extra\ttime", "kid\r\n", "15 min\tfor homework")) std::abort();
    const std::vector<EVENT_ENTRY> after = CEventLog::ReadAll();
    // The inputs are far below the bound, so nothing old is dropped.
    if (after.size() != before.size() + 1) std::abort();
    for (std::size_t n = 0; n < before.size(); ++n)
        if (!(after[n] == before[n])) std::abort();
    const EVENT_ENTRY& added = after.back();
    if (added.strKind != "extra time" || added.strAccount != "kid  " || added.strDetail != "15 min for homework")
        std::abort();
    return 0;
}
