// Outside the permitted period: locked until the period begins or extra time is granted.
#pragma once

#include "core/rules/UsageState.h"

class COutOfPeriodState final : public CUsageState {
public:
    COutOfPeriodState() : CUsageState(STATE_OUT_OF_PERIOD, LOCK_BY_RULE) {}

    void OnResume(CUsageContext& context) override;
    void OnTimer(CUsageContext& context, int nSeconds) override;
    STATE_TEXTS Texts(const CUsageContext& context) const override;
};
