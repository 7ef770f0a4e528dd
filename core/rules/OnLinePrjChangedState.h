// Today's arrangement changed since the last save: recomputes the counters from the new
// arrangement and hands over to the state that fits. Never current when texts are asked for.
#pragma once

#include "core/rules/UsageState.h"

class COnLinePrjChangedState final : public CUsageState {
public:
    COnLinePrjChangedState() : CUsageState(STATE_ONLINE_PRJ_CHANGED) {}

    void OnResume(CUsageContext& context) override;

    std::string GetInfo1(const CUsageContext& context) override;
    std::string GetInfo2(const CUsageContext& context) override;
    std::string GetInfo3(const CUsageContext& context) override;
    std::string GetInfo4(const CUsageContext& context) override;
    int GetLockKind() const override;
};
