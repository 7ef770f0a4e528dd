// Windows' clock: the system time, the unbiased interrupt time (which stands still while the
// machine sleeps or hibernates), and local time in the zone Windows has now
// (GetTimeZoneInformation), never the C runtime's TZ.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601  // the unbiased interrupt time is there from Windows 7 on
#include <windows.h>

#include "core/seams/Calendar.h"
#include "core/seams/Clock.h"
#include "platform/win32/SystemTime.h"
#include "platform/win32/ZoneText.h"

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

    CLocalTime ToLocal(TIMESECS t) override { return LocalIn(PresentZone(), t); }

    TIMESECS MakeLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) override {
        CLocalTime fields;
        fields.nYear = nYear, fields.nMonth = nMonth, fields.nDay = nDay;
        fields.nHour = nHour, fields.nMinute = nMinute, fields.nSecond = nSecond;
        return TimeIn(PresentZone(), fields);
    }

    bool ToLocalIn(const std::string& strZone, TIMESECS t, CLocalTime& lt) override {
        const TIME_ZONE_INFORMATION* pZone = ZoneOf(strZone);
        if (!pZone) return false;
        lt = LocalIn(*pZone, t);
        return true;
    }

    bool MakeLocalIn(const std::string& strZone, const CLocalTime& fields, TIMESECS& t) override {
        const TIME_ZONE_INFORMATION* pZone = ZoneOf(strZone);
        if (!pZone) return false;
        t = TimeIn(*pZone, fields);
        return true;
    }

    // The tick count goes on while the machine sleeps, the unbiased interrupt time does not.
    std::int64_t SleptMs() override {
        ULONGLONG nUnbiased = 0;
        if (!::QueryUnbiasedInterruptTime(&nUnbiased)) return 0;
        const auto nSlept = static_cast<std::int64_t>(::GetTickCount64()) - static_cast<std::int64_t>(nUnbiased / 10000ULL);
        return nSlept > 0 ? nSlept : 0;
    }

    // The whole zone record as hex: bias, names and both switch rules.
    std::string Zone() override { return ZoneToText(PresentZone()); }

private:
    static TIME_ZONE_INFORMATION PresentZone() {
        TIME_ZONE_INFORMATION tzi{};
        ::GetTimeZoneInformation(&tzi);
        return tzi;
    }

    static CLocalTime LocalIn(const TIME_ZONE_INFORMATION& tzi, TIMESECS t) {
        const SYSTEMTIME utc = ToSystemTime(Calendar::Fields(t));
        SYSTEMTIME local{};
        if (!::SystemTimeToTzSpecificLocalTime(&tzi, &utc, &local)) return Calendar::Fields(t);
        return Calendar::Fields(SecondsOf(local));
    }

    static TIMESECS TimeIn(const TIME_ZONE_INFORMATION& tzi, const CLocalTime& fields) {
        // Fields out of range carry first (day 32 is the 1st of the next month), as mktime does.
        const TIMESECS tFields =
            Calendar::Seconds(fields.nYear, fields.nMonth, fields.nDay, fields.nHour, fields.nMinute, fields.nSecond);
        const SYSTEMTIME local = ToSystemTime(Calendar::Fields(tFields));
        SYSTEMTIME utc{};
        if (!::TzSpecificLocalTimeToSystemTime(&tzi, &local, &utc)) return tFields + TIMESECS(tzi.Bias) * 60;
        return SecondsOf(utc);
    }

    // The record of a zone text, read once for as long as the same text is asked about.
    const TIME_ZONE_INFORMATION* ZoneOf(const std::string& strZone) {
        if (strZone != m_strHeld) {
            m_strHeld.clear();
            if (!ZoneFromText(strZone, m_held)) return nullptr;
            m_strHeld = strZone;
        }
        return &m_held;
    }

    std::string m_strHeld;
    TIME_ZONE_INFORMATION m_held{};
};

}  // namespace

IClock& RealClock() {
    static CWinClock s_clock;
    return s_clock;
}
