// The local calendar day around a time: its date and where it begins and ends. Asking whether a
// time falls on the day is then a comparison, not a calendar conversion, which matters at one
// question per second per rule.
#pragma once

#include "core/seams/Clock.h"

class CLocalDay {
public:
    // True when t falls on the day held (false before the first Set).
    bool Contains(TIMESECS t) const { return m_bSet && m_tStart <= t && t < m_tNext; }
    // Holds the day of t, unless it holds it already.
    void Set(TIMESECS t);
    // A time on this day at the given local clock time (daylight saving decided by the system).
    TIMESECS At(int nHour, int nMinute, int nSecond) const;

    int Year() const { return m_nYear; }
    int Month() const { return m_nMonth; }
    int Day() const { return m_nDay; }
    // The first moment of the next day.
    TIMESECS Next() const { return m_tNext; }

private:
    bool m_bSet = false;
    int m_nYear = 0, m_nMonth = 0, m_nDay = 0;
    TIMESECS m_tStart = 0, m_tNext = 0;
};
