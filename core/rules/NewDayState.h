// A new day has begun: locked until "Start to use", which the session answers by starting the
// context afresh for the new weekday.
#pragma once

#include "core/rules/UsageState.h"

class CNewDayState final : public CUsageState {
public:
    CNewDayState() : CUsageState(STATE_NEW_DAY, LOCK_UNTIL_START) {}

    STATE_TEXTS Texts(const CUsageContext& context) const override;
};
