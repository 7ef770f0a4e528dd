// Today's arrangement changed since the last save: recomputes the counters from the new
// arrangement and hands over to the state that fits. Never current when texts are asked for.
#pragma once

#include "core/rules/UsageState.h"

class COnLinePrjChangedState final : public CUsageState {
public:
    COnLinePrjChangedState() : CUsageState(STATE_ONLINE_PRJ_CHANGED, LOCK_IN_USE) {}

    void OnResume(CUsageContext& context) override;
    STATE_TEXTS Texts(const CUsageContext& context) const override;
};
