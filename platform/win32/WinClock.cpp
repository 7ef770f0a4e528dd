// Windows' clock: the system time, the unbiased interrupt time (which stands still while the
// machine sleeps or hibernates), and local time in the zone Windows has now
// (GetTimeZoneInformation), never the C runtime's TZ.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601  // the unbiased interrupt time is there from Windows 7 on
#include <windows.h>

#include <cstdio>

#include "core/seams/Calendar.h"
#include "core/seams/Clock.h"
#include "platform/win32/SystemTime.h"

namespace {

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr ULONGLONG kEpochDiff = 116444736000000000ULL;

TIMESECS SecondsOf(const SYSTEMTIME& st) {
    return Calendar::Seconds(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

class CWinClock final : public IClock {
public:
    TIMESECS Now() override {
        FILETIME ft{};
        ::GetSystemTimeAsFileTime(&ft);
        const ULONGLONG n = (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
        return static_cast<TIMESECS>((n - kEpochDiff) / 10000000ULL);
    }

    std::int64_t RunningMs() override {
        ULONGLONG n = 0;
        if (!::QueryUnbiasedInterruptTime(&n)) return static_cast<std::int64_t>(::GetTickCount64());
        return static_cast<std::int64_t>(n / 10000ULL);
    }

    TIMESECS BootTime() override { return Now() - static_cast<TIMESECS>(::GetTickCount64() / 1000ULL); }

    CLocalTime ToLocal(TIMESECS t) override {
        TIME_ZONE_INFORMATION tzi{};
        ::GetTimeZoneInformation(&tzi);
        const SYSTEMTIME utc = ToSystemTime(Calendar::Fields(t));
        SYSTEMTIME local{};
        if (!::SystemTimeToTzSpecificLocalTime(&tzi, &utc, &local)) return Calendar::Fields(t);
        CLocalTime lt = Calendar::Fields(SecondsOf(local));
        return lt;
    }

    TIMESECS MakeLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) override {
        // Fields out of range carry first (day 32 is the 1st of the next month), as mktime does.
        const TIMESECS tFields = Calendar::Seconds(nYear, nMonth, nDay, nHour, nMinute, nSecond);
        TIME_ZONE_INFORMATION tzi{};
        ::GetTimeZoneInformation(&tzi);
        const SYSTEMTIME local = ToSystemTime(Calendar::Fields(tFields));
        SYSTEMTIME utc{};
        if (!::TzSpecificLocalTimeToSystemTime(&tzi, &local, &utc)) return tFields + TIMESECS(tzi.Bias) * 60;
        return SecondsOf(utc);
    }

    // The whole zone record as hex: bias, names and both switch rules.
    std::string Zone() override {
        TIME_ZONE_INFORMATION tzi{};
        ::GetTimeZoneInformation(&tzi);
        const auto* p = reinterpret_cast<const unsigned char*>(&tzi);
        std::string strHex;
        char szByte[3];
        for (size_t i = 0; i < sizeof tzi; ++i) std::snprintf(szByte, sizeof szByte, "%02x", p[i]), strHex += szByte;
        return strHex;
    }
};

}  // namespace

IClock& RealClock() {
    static CWinClock s_clock;
    return s_clock;
}
