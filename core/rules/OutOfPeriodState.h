// Outside the permitted period: locked until the period begins.
#pragma once

#include "core/rules/UsageState.h"

class COutOfPeriodState final : public CUsageState {
public:
    COutOfPeriodState() : CUsageState(STATE_OUT_OF_PERIOD) {}

    void OnResume(CUsageContext& context) override;
    void OnTimer(CUsageContext& context, int nSeconds) override;

    std::string GetInfo1(const CUsageContext& context) override;
    std::string GetInfo2(const CUsageContext& context) override;
    std::string GetInfo3(const CUsageContext& context) override;
    std::string GetInfo4(const CUsageContext& context) override;
    int GetLockKind() const override;
};
