// Duration phrases. Zero and one take the singular ("0 second"); a part that is 0 is left out
// unless everything below it is 0 too.
#include "core/texts/Duration.h"

namespace {

// Chinese unit words in code page 936: second, minute, hour.
const char* const g_pszSecondCn = "\xc3\xeb";
const char* const g_pszMinuteCn = "\xb7\xd6\xd6\xd3";
const char* const g_pszHourCn = "\xd0\xa1\xca\xb1";

std::string Unit(int n, const char* pszSingular, const char* pszPlural) {
    return std::to_string(n) + (n == 0 || n == 1 ? pszSingular : pszPlural);
}

}  // namespace

std::string FormatSeconds(int nSeconds, int nLanguage) {
    if (nLanguage != 0) return std::to_string(nSeconds) + g_pszSecondCn;
    return Unit(nSeconds, " second", " seconds");
}

std::string FormatMinSec(int nMinutes, int nSeconds, int nLanguage) {
    if (nMinutes == 0) return FormatSeconds(nSeconds, nLanguage);
    if (nLanguage != 0)
        return std::to_string(nMinutes) + g_pszMinuteCn + (nSeconds == 0 ? "" : FormatSeconds(nSeconds, nLanguage));
    // Only 1 is singular here: "0 minutes" cannot occur, the branch above took it.
    const bool bOne = nMinutes == 1;
    if (nSeconds == 0) return std::to_string(nMinutes) + (bOne ? " minute" : " minutes");
    return std::to_string(nMinutes) + (bOne ? " minute " : " minutes ") + FormatSeconds(nSeconds);
}

std::string FormatHourMinSec(int nHours, int nMinutes, int nSeconds, int nLanguage) {
    if (nHours == 0) return FormatMinSec(nMinutes, nSeconds, nLanguage);
    const bool bRestZero = nMinutes == 0 && nSeconds == 0;
    if (nLanguage != 0)
        return std::to_string(nHours) + g_pszHourCn + (bRestZero ? "" : FormatMinSec(nMinutes, nSeconds, nLanguage));
    const bool bOne = nHours == 1;
    if (bRestZero) return std::to_string(nHours) + (bOne ? " hour" : " hours");
    return std::to_string(nHours) + (bOne ? " hour " : " hours ") + FormatMinSec(nMinutes, nSeconds);
}

std::string FormatHourMin(int nHours, int nMinutes, int nLanguage) {
    return FormatHourMinSec(nHours, nMinutes, 0, nLanguage);
}
