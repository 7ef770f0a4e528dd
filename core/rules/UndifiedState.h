// The state of a context that has just started over: chooses the real state at once.
// Never current when texts are asked for.
#pragma once

#include "core/rules/UsageState.h"

class CUndifiedState final : public CUsageState {
public:
    CUndifiedState() : CUsageState(STATE_UNDIFIED, LOCK_IN_USE) {}

    void OnEnter(CUsageContext& context) override;
    // A snapshot that names this state (a damaged or tampered use.sta) decides anew as well: left
    // current, it would count nothing and leave the screen unlocked.
    void OnResume(CUsageContext& context) override;
    STATE_TEXTS Texts(const CUsageContext& context) const override;
};
