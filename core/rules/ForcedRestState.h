// The mandatory rest: locked while the rest counts down.
#pragma once

#include "core/rules/UsageState.h"

class CForcedRestState final : public CUsageState {
public:
    CForcedRestState() : CUsageState(STATE_FORCED_REST, LOCK_BY_RULE) {}

    void OnResume(CUsageContext& context) override;
    void OnTimer(CUsageContext& context, int nSeconds) override;
    STATE_TEXTS Texts(const CUsageContext& context) const override;
};
