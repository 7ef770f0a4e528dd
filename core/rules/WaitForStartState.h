// Locked until "Start to use", watching the period meanwhile: after the user's own "Take a rest"
// (STATE_USER_LOCKED), after the mandatory rest (STATE_REST_DONE), or once the permitted period
// has begun (STATE_PERIOD_ARRIVED). The three differ only in their headline.
#pragma once

#include "core/rules/UsageState.h"

class CWaitForStartState final : public CUsageState {
public:
    explicit CWaitForStartState(int nId) : CUsageState(nId, LOCK_UNTIL_START) {}

    void OnResume(CUsageContext& context) override;
    void OnTimer(CUsageContext& context, int nSeconds) override;
    void OnStartToUse(CUsageContext& context) override;
    STATE_TEXTS Texts(const CUsageContext& context) const override;
};
