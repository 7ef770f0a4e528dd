// The use meter.
#include "core/rules/UseMeter.h"

#include <limits>

int CUseMeter::Take(std::int64_t nRunningMs) {
    if (nRunningMs <= m_nLastMs) return 0;
    const std::int64_t nSeconds = (nRunningMs - m_nLastMs) / 1000;
    m_nLastMs += nSeconds * 1000;
    constexpr std::int64_t kMax = std::numeric_limits<int>::max();
    return static_cast<int>(nSeconds < kMax ? nSeconds : kMax);
}
