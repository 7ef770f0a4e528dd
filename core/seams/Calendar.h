// Calendar arithmetic without a time zone: the fields of a count of seconds read as UTC, and the
// count of fields that may overflow (day 32, hour 25...), which are carried like a calendar does.
#pragma once

#include "core/seams/Clock.h"

namespace Calendar {

// Days since 1970-01-01 of a civil date (proleptic Gregorian); month 1-12 (or beyond, carried).
constexpr TIMESECS DaysFromCivil(TIMESECS y, TIMESECS m, TIMESECS d) {
    const TIMESECS m0 = m - 1;
    y += m0 >= 0 ? m0 / 12 : (m0 - 11) / 12;
    m = (m0 % 12 + 12) % 12 + 1;
    y -= m <= 2;
    const TIMESECS era = (y >= 0 ? y : y - 399) / 400;
    const TIMESECS yoe = y - era * 400;
    const TIMESECS doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const TIMESECS doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The fields of t read as UTC.
inline CLocalTime Fields(TIMESECS t) {
    TIMESECS days = t / 86400, secs = t % 86400;
    if (secs < 0) secs += 86400, --days;
    const TIMESECS z = days + 719468;
    const TIMESECS era = (z >= 0 ? z : z - 146096) / 146097;
    const TIMESECS doe = z - era * 146097;
    const TIMESECS yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const TIMESECS doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const TIMESECS mp = (5 * doy + 2) / 153;
    const TIMESECS d = doy - (153 * mp + 2) / 5 + 1;
    const TIMESECS m = mp < 10 ? mp + 3 : mp - 9;
    CLocalTime lt;
    lt.nYear = static_cast<int>(yoe + era * 400 + (m <= 2));
    lt.nMonth = static_cast<int>(m);
    lt.nDay = static_cast<int>(d);
    lt.nHour = static_cast<int>(secs / 3600);
    lt.nMinute = static_cast<int>(secs / 60 % 60);
    lt.nSecond = static_cast<int>(secs % 60);
    lt.nWeekday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    return lt;
}

// The count of seconds of fields read as UTC; days, hours, minutes and seconds out of range carry.
inline TIMESECS Seconds(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) {
    return (DaysFromCivil(nYear, nMonth, 1) + nDay - 1) * 86400 + TIMESECS(nHour) * 3600 + TIMESECS(nMinute) * 60 +
           nSecond;
}

}  // namespace Calendar
