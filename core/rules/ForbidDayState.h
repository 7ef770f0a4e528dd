// A "Forbid to use" day: locked until the next day.
#pragma once

#include "core/rules/UsageState.h"

class CForbidDayState final : public CUsageState {
public:
    CForbidDayState() : CUsageState(STATE_FORBID_DAY, LOCK_BY_RULE) {}

    void OnResume(CUsageContext& context) override;
    void OnTimer(CUsageContext& context, int nSeconds) override;
    STATE_TEXTS Texts(const CUsageContext& context) const override;
};
