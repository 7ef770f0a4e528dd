// The mandatory rest: locked while the rest counts down.
#pragma once

#include "core/rules/UsageState.h"

class CForcedRestState final : public CUsageState {
public:
    CForcedRestState() : CUsageState(STATE_FORCED_REST) {}

    void OnResume(CUsageContext& context) override;
    void OnTimer(CUsageContext& context, int nSeconds) override;

    std::string GetInfo1(const CUsageContext& context) override;
    std::string GetInfo2(const CUsageContext& context) override;
    std::string GetInfo3(const CUsageContext& context) override;
    std::string GetInfo4(const CUsageContext& context) override;
    int GetLockKind() const override;
};
