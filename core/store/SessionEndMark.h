// The note a run leaves when it is told that the Windows session ends: which run it was (the
// process id its heartbeat carries), the Windows logon session and when the machine started. Any
// program can send that message, so the next start believes the end only when the logon session
// or the boot really changed; the same session running on means the end was not real.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/seams/Clock.h"

struct SESSION_END_MARK {
    std::uint32_t nPid = 0;
    std::uint64_t nLogon = 0;
    TIMESECS tBoot = 0;
};

class CSessionEndMark {
public:
    static constexpr const char* FILE_NAME = "session.end";
    static constexpr std::size_t FILE_SIZE = 24;

    // Writes the mark (session.end in the data folder, whole or not at all); false on failure.
    static bool Save(const SESSION_END_MARK& mark);
    // Reads the mark and removes the file, so that it speaks for one start only; nothing when
    // there is none or it does not read whole.
    static std::optional<SESSION_END_MARK> Take();
};
