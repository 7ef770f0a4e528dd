// The native build's clock: time(), CLOCK_MONOTONIC (which stands still in a suspend on Linux)
// and the C runtime's local time, which follows TZ.
#include <ctime>

#include "core/seams/Clock.h"

namespace {

class CPosixClock final : public IClock {
public:
    TIMESECS Now() override { return static_cast<TIMESECS>(std::time(nullptr)); }

    std::int64_t RunningMs() override {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
    }

    TIMESECS BootTime() override {
        timespec ts{};
        clock_gettime(CLOCK_BOOTTIME, &ts);
        return Now() - static_cast<TIMESECS>(ts.tv_sec);
    }

    // The boot-time clock goes on through a suspend, the monotonic one does not.
    std::int64_t SleptMs() override {
        timespec boot{}, mono{};
        clock_gettime(CLOCK_BOOTTIME, &boot);
        clock_gettime(CLOCK_MONOTONIC, &mono);
        const std::int64_t nSlept = (static_cast<std::int64_t>(boot.tv_sec) - mono.tv_sec) * 1000 +
                                    (boot.tv_nsec - mono.tv_nsec) / 1000000;
        return nSlept > 0 ? nSlept : 0;
    }

    CLocalTime ToLocal(TIMESECS t) override {
        const std::time_t tt = static_cast<std::time_t>(t);
        std::tm tm{};
        CLocalTime lt;
        if (!localtime_r(&tt, &tm)) return lt;
        lt.nYear = tm.tm_year + 1900;
        lt.nMonth = tm.tm_mon + 1;
        lt.nDay = tm.tm_mday;
        lt.nHour = tm.tm_hour;
        lt.nMinute = tm.tm_min;
        lt.nSecond = tm.tm_sec;
        lt.nWeekday = tm.tm_wday;
        return lt;
    }

    TIMESECS MakeLocal(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) override {
        std::tm tm{};
        tm.tm_year = nYear - 1900;
        tm.tm_mon = nMonth - 1;
        tm.tm_mday = nDay;
        tm.tm_hour = nHour;
        tm.tm_min = nMinute;
        tm.tm_sec = nSecond;
        tm.tm_isdst = -1;
        return static_cast<TIMESECS>(std::mktime(&tm));
    }

    std::string Zone() override {
        tzset();
        return std::string(tzname[0]) + "/" + tzname[1] + "/" + std::to_string(timezone);
    }
};

}  // namespace

IClock& RealClock() {
    static CPosixClock s_clock;
    return s_clock;
}
