// The permitted period has begun: locked until "Start to use".
#pragma once

#include "core/rules/UsageState.h"

class CPeriodArrivedState final : public CUsageState {
public:
    CPeriodArrivedState() : CUsageState(STATE_PERIOD_ARRIVED) {}

    void OnResume(CUsageContext& context) override;
    void OnTimer(CUsageContext& context, int nSeconds) override;
    void OnStartToUse(CUsageContext& context) override;

    std::string GetInfo1(const CUsageContext& context) override;
    std::string GetInfo2(const CUsageContext& context) override;
    std::string GetInfo3(const CUsageContext& context) override;
    std::string GetInfo4(const CUsageContext& context) override;
    int GetLockKind() const override;
};
