// Fuzz target: any bytes as history.csv load without a fault; every line read writes back to the
// same line; a day and a program's day appended are read back afterwards and appending them again
// changes nothing.
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
    const HISTORY_LINE day{20260512, "kid, \"the younger\"", 85, 90, 4, 15, ""};
    const HISTORY_LINE program{20260512, "kid", 30, -1, 2, 0, "game,\"1\".exe"};
    if (!history.Append(day) || !history.Append(program)) std::abort();
    const BYTES once = fuzz::ReadFile(CHistoryFile::kFileName);
    CHistoryFile again;
    again.Load();
    if (!again.Has(day.nDate, day.strUser) || !again.Has(program.nDate, program.strUser, program.strProgram) ||
        !again.Append(std::vector<HISTORY_LINE>{day, program}))
        std::abort();
    if (fuzz::ReadFile(CHistoryFile::kFileName) != once) std::abort();
    return 0;
}
