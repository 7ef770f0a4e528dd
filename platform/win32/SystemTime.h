// Local calendar fields as Windows' SYSTEMTIME, for the clock and for setting the time.
#pragma once

#include <windows.h>

#include "core/seams/Clock.h"

inline SYSTEMTIME ToSystemTime(const CLocalTime& lt) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(lt.nYear);
    st.wMonth = static_cast<WORD>(lt.nMonth);
    st.wDay = static_cast<WORD>(lt.nDay);
    st.wHour = static_cast<WORD>(lt.nHour);
    st.wMinute = static_cast<WORD>(lt.nMinute);
    st.wSecond = static_cast<WORD>(lt.nSecond);
    st.wDayOfWeek = static_cast<WORD>(lt.nWeekday);
    return st;
}
