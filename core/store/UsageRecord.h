// One child's usage snapshot as use.sta keeps it: plain data, which the usage context of the
// engine fills from itself when it saves and takes over when a login resumes.
#pragma once

#include <cstdint>
#include <string>

#include "core/seams/Clock.h"
#include "core/store/DayPrj.h"

struct USAGE_RECORD {
    // Mini window position meaning "not placed yet".
    static constexpr std::int32_t MINI_UNSET = -99999;

    std::string strUser;
    std::int32_t nUsedSecs = 0;
    std::int32_t nTotalSecsLeft = -1;
    std::int32_t nUseSecsBeforeRest = -1;
    std::int32_t nRestSecsLeft = -1;
    TIMESECS tLastSave = 0;
    CDayPrj prjCopy;  // the day's arrangement as it was at the save
    std::int32_t nStateId = -1;
    std::int32_t bShowMini = 1;
    std::int32_t nMiniX = MINI_UNSET;
    std::int32_t nMiniY = MINI_UNSET;
};
