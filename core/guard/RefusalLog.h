// The record of what the guard refused, kept in the parent's event log (kind "refused"), which
// the program lists at the next Administrator login. A program that floods the guard with
// requests must not push the older events out of the bounded log: past kPerMinute refusals in a
// minute of the running clock they are only counted, and the count is written with the next
// refusal recorded.
#pragma once

#include <cstdint>
#include <string>

class CRefusalLog {
public:
    static constexpr int kPerMinute = 20;

    void Record(const std::string& strAccount, const std::string& strText);
    // Refusals counted but not written yet.
    int Unwritten() const { return m_nUnwritten; }

private:
    std::int64_t m_nMinuteStartMs = 0;
    int m_nInMinute = 0;
    int m_nUnwritten = 0;
    bool m_bStarted = false;
};
