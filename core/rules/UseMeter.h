// Counts use by the time that really passed, read from the running clock (which nobody can turn
// and which stands still while the machine sleeps), not by the number of timer messages: a queue
// stalled or a process suspended for 13 seconds counts 13 seconds, a night asleep counts nothing.
#pragma once

#include <cstdint>

class CUseMeter {
public:
    // Starts counting at the running-clock reading nRunningMs.
    void Start(std::int64_t nRunningMs) { m_nLastMs = nRunningMs; }
    // The whole seconds that passed since the last reading; the part of a second left over is
    // carried to the next one. A reading from before the last one counts nothing.
    int Take(std::int64_t nRunningMs);

private:
    std::int64_t m_nLastMs = 0;
};
