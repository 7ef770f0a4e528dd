// A clock that tests set and advance by hand; installed for the life of the object.
#pragma once

#include "seams/Clock.h"

class CFakeClock final : public IClock {
public:
    explicit CFakeClock(TIMESECS tStart = 0) : m_tNow(tStart) { CClock::Use(this); }
    ~CFakeClock() override { CClock::Use(nullptr); }
    CFakeClock(const CFakeClock&) = delete;
    CFakeClock& operator=(const CFakeClock&) = delete;

    TIMESECS Now() override { return m_tNow; }
    void Set(TIMESECS t) { m_tNow = t; }
    void SetLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) {
        m_tNow = CClock::MakeLocal(nYear, nMonth, nDay, nHour, nMinute, nSecond);
    }
    void Advance(TIMESECS nSeconds) { m_tNow += nSeconds; }

private:
    TIMESECS m_tNow;
};
