// The computer may be used: counts the use and locks at the first limit that runs out.
#pragma once

#include "core/rules/UsageState.h"

class CAllowedState final : public CUsageState {
public:
    CAllowedState() : CUsageState(STATE_ALLOWED) {}

    void OnResume(CUsageContext& context) override;
    void OnTimer(CUsageContext& context, int nSeconds) override;
    void OnTakeRest(CUsageContext& context) override;

    std::string GetInfo1(const CUsageContext& context) override;
    std::string GetInfo2(const CUsageContext& context) override;
    std::string GetInfo3(const CUsageContext& context) override;
    std::string GetInfo4(const CUsageContext& context) override;
    int GetLockKind() const override;
};
