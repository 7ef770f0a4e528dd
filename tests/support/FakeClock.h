// A clock that tests set and advance by hand; installed for the life of the object.
// It keeps a wall clock, a running clock (which a sleep of the machine does not advance; the time
// slept is counted apart) and a zone: the platform's conversions unless a test gives it a zone of
// a fixed offset.
#pragma once

#include <optional>
#include <string>

#include "core/seams/Calendar.h"
#include "core/seams/Clock.h"

class CFakeClock final : public IClock {
public:
    explicit CFakeClock(TIMESECS tStart = 0) : m_nWallMs(tStart * 1000), m_tBoot(tStart - 3600) { CClock::Use(this); }
    ~CFakeClock() override { CClock::Use(nullptr); }
    CFakeClock(const CFakeClock&) = delete;
    CFakeClock& operator=(const CFakeClock&) = delete;

    TIMESECS Now() override { return m_nWallMs >= 0 ? m_nWallMs / 1000 : (m_nWallMs - 999) / 1000; }
    std::int64_t RunningMs() override { return m_nRunningMs; }
    TIMESECS BootTime() override { return m_tBoot; }

    CLocalTime ToLocal(TIMESECS t) override {
        return m_nZoneOffset ? Calendar::Fields(t + *m_nZoneOffset) : RealClock().ToLocal(t);
    }
    TIMESECS MakeLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) override {
        if (!m_nZoneOffset) return RealClock().MakeLocal(nYear, nMonth, nDay, nHour, nMinute, nSecond);
        return Calendar::Seconds(nYear, nMonth, nDay, nHour, nMinute, nSecond) - *m_nZoneOffset;
    }
    std::string Zone() override {
        return m_nZoneOffset ? "UTC" + std::to_string(*m_nZoneOffset) : RealClock().Zone();
    }
    // A zone this clock described ("UTC<offset>"), or the platform's.
    bool ToLocalIn(const std::string& strZone, TIMESECS t, CLocalTime& lt) override {
        if (strZone.rfind("UTC", 0) != 0) return RealClock().ToLocalIn(strZone, t, lt);
        lt = Calendar::Fields(t + std::stoi(strZone.substr(3)));
        return true;
    }
    bool MakeLocalIn(const std::string& strZone, const CLocalTime& f, TIMESECS& t) override {
        if (strZone.rfind("UTC", 0) != 0) return RealClock().MakeLocalIn(strZone, f, t);
        t = Calendar::Seconds(f.nYear, f.nMonth, f.nDay, f.nHour, f.nMinute, f.nSecond) - std::stoi(strZone.substr(3));
        return true;
    }
    std::int64_t SleptMs() override { return m_nSleptMs; }

    // Time passes: the wall clock and the running clock move together.
    void Advance(TIMESECS nSeconds) { AdvanceMs(nSeconds * 1000); }
    void AdvanceMs(std::int64_t nMs) {
        m_nWallMs += nMs;
        m_nRunningMs += nMs;
    }
    // The wall clock is turned (by a person or a time service); nothing really passes.
    void Set(TIMESECS t) { m_nWallMs = t * 1000; }
    void SetLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) {
        Set(MakeLocal(nYear, nMonth, nDay, nHour, nMinute, nSecond));
    }
    void Turn(TIMESECS nSeconds) { m_nWallMs += nSeconds * 1000; }
    // The machine sleeps: the wall clock moves on, the running clock stands still, and the
    // system counts the time slept.
    void Sleep(TIMESECS nSeconds) {
        m_nWallMs += nSeconds * 1000;
        m_nSleptMs += nSeconds * 1000;
    }
    // A fixed zone, seconds east of UTC (no daylight saving); nullopt: the platform's zone.
    void SetZone(std::optional<int> nOffsetSeconds) { m_nZoneOffset = nOffsetSeconds; }
    // The machine was started at t (wall clock).
    void SetBootTime(TIMESECS t) { m_tBoot = t; }

private:
    std::int64_t m_nWallMs;
    TIMESECS m_tBoot;
    std::int64_t m_nRunningMs = 1000000;
    std::int64_t m_nSleptMs = 0;
    std::optional<int> m_nZoneOffset;
};
