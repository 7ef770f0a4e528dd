// The computer may be used: counts the use and locks at the first limit that runs out.
#pragma once

#include "core/rules/LockCountdown.h"
#include "core/rules/UsageState.h"

class CAllowedState final : public CUsageState {
public:
    CAllowedState() : CUsageState(STATE_ALLOWED, LOCK_IN_USE) {}

    void OnResume(CUsageContext& context) override;
    void OnTimer(CUsageContext& context, int nSeconds) override;
    void OnTakeRest(CUsageContext& context) override;
    STATE_TEXTS Texts(const CUsageContext& context) const override;

private:
    // Recomputed from the context at every ask; it keeps only the calendar arithmetic of the day.
    mutable CLockCountdown m_countdown;
};
