// A new day has begun: locked until "Start to use", which the status window answers by
// starting the context afresh for the new weekday.
#pragma once

#include "core/rules/UsageState.h"

class CNewDayState final : public CUsageState {
public:
    CNewDayState() : CUsageState(STATE_NEW_DAY) {}

    std::string GetInfo1(const CUsageContext& context) override;
    std::string GetInfo2(const CUsageContext& context) override;
    std::string GetInfo3(const CUsageContext& context) override;
    std::string GetInfo4(const CUsageContext& context) override;
    int GetLockKind() const override;
};
