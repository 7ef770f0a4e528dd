// The day's total is used up: locked until the next day or extra time is granted.
#pragma once

#include "core/rules/UsageState.h"

class CTotalUsedUpState final : public CUsageState {
public:
    CTotalUsedUpState() : CUsageState(STATE_TOTAL_USED_UP, LOCK_BY_RULE) {}

    void OnResume(CUsageContext& context) override;
    void OnTimer(CUsageContext& context, int nSeconds) override;
    STATE_TEXTS Texts(const CUsageContext& context) const override;
};
