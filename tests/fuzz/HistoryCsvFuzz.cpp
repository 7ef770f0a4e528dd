// Fuzz target: any bytes as history.csv load without a fault; every line read writes back to the
// same line; a day appended is read back afterwards and appending it again changes nothing.
#include <cstdlib>

#include "core/store/HistoryFile.h"
#include "FuzzDataFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    fuzz::Folder();
    fuzz::WriteFile(CHistoryFile::kFileName, pData, nSize);
    CHistoryFile history;
    history.Load();
    for (const HISTORY_LINE& line : history.Lines()) {
        HISTORY_LINE back;
        if (!CHistoryFile::Parse(CHistoryFile::Format(line), back) || !(back == line)) std::abort();
    }
    const HISTORY_LINE day{20260512, "kid, \"the younger\"", 85, 90, 4, 15};
    if (!history.Append(day)) std::abort();
    const BYTES once = fuzz::ReadFile(CHistoryFile::kFileName);
    CHistoryFile again;
    again.Load();
    if (!again.Has(day.nDate, day.strUser) || !again.Append(day)) std::abort();
    if (fuzz::ReadFile(CHistoryFile::kFileName) != once) std::abort();
    return 0;
}
