// A Windows time zone record as the clock seam's zone text (the whole record in hex: bias, names
// and both switch rules) and back, shared by the clock and the action that sets the zone.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

inline std::string ZoneToText(const TIME_ZONE_INFORMATION& tzi) {
    const auto* p = reinterpret_cast<const unsigned char*>(&tzi);
    std::string strHex;
    char szByte[3];
    for (size_t i = 0; i < sizeof tzi; ++i) std::snprintf(szByte, sizeof szByte, "%02x", p[i]), strHex += szByte;
    return strHex;
}

// False (the record untouched or partly written) when the text is no zone record.
inline bool ZoneFromText(const std::string& strZone, TIME_ZONE_INFORMATION& tzi) {
    if (strZone.size() != 2 * sizeof tzi) return false;
    auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    auto* p = reinterpret_cast<unsigned char*>(&tzi);
    for (size_t i = 0; i < sizeof tzi; ++i) {
        const int hi = digit(strZone[2 * i]), lo = digit(strZone[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        p[i] = static_cast<unsigned char>(hi * 16 + lo);
    }
    return true;
}
