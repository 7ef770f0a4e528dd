// Locked by the user's own "Take a rest": locked until "Start to use".
#pragma once

#include "core/rules/UsageState.h"

class CUserLockedState final : public CUsageState {
public:
    CUserLockedState() : CUsageState(STATE_USER_LOCKED) {}

    void OnResume(CUsageContext& context) override;
    void OnTimer(CUsageContext& context, int nSeconds) override;
    void OnStartToUse(CUsageContext& context) override;

    std::string GetInfo1(const CUsageContext& context) override;
    std::string GetInfo2(const CUsageContext& context) override;
    std::string GetInfo3(const CUsageContext& context) override;
    std::string GetInfo4(const CUsageContext& context) override;
    int GetLockKind() const override;
};
