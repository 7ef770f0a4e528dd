// A "Forbid to use" day: locked until the next day.
#pragma once

#include "core/rules/UsageState.h"

class CForbidDayState final : public CUsageState {
public:
    CForbidDayState() : CUsageState(STATE_FORBID_DAY) {}

    void OnResume(CUsageContext& context) override;
    void OnTimer(CUsageContext& context, int nSeconds) override;

    std::string GetInfo1(const CUsageContext& context) override;
    std::string GetInfo2(const CUsageContext& context) override;
    std::string GetInfo3(const CUsageContext& context) override;
    std::string GetInfo4(const CUsageContext& context) override;
    int GetLockKind() const override;
};
