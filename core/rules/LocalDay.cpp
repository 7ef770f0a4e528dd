// The local day around a time.
#include "core/rules/LocalDay.h"

void CLocalDay::Set(TIMESECS t) {
    if (Contains(t)) return;
    const CLocalTime lt = CClock::ToLocal(t);
    m_nYear = lt.nYear, m_nMonth = lt.nMonth, m_nDay = lt.nDay;
    // Day + 1 is normalised by the calendar; a midnight that daylight saving skips becomes the
    // day's first real moment.
    m_tStart = CClock::MakeLocal(m_nYear, m_nMonth, m_nDay, 0, 0, 0);
    m_tNext = CClock::MakeLocal(m_nYear, m_nMonth, m_nDay + 1, 0, 0, 0);
    m_bSet = true;
}

TIMESECS CLocalDay::At(int nHour, int nMinute, int nSecond) const {
    return CClock::MakeLocal(m_nYear, m_nMonth, m_nDay, nHour, nMinute, nSecond);
}
