// CForcedRestState: its transitions and status texts.
#include "core/rules/ForcedRestState.h"

#include <algorithm>
#include <memory>

#include "core/rules/NewDayState.h"
#include "core/rules/OutOfPeriodState.h"
#include "core/rules/RestDoneState.h"
#include "core/rules/UsageContext.h"
#include "core/texts/Duration.h"
#include "core/texts/MsgText.h"

void CForcedRestState::OnResume(CUsageContext& context) {
    const TIMESECS nGap = ResumeGap(context);
    context.CreditRest(nGap);
    context.CountRest(nGap);
    if (ResumeNewDay(context) || ResumeChanged(context)) return;
    if (context.IsPeriodLocked(context.SessionTime()))
        context.ChangeState(std::make_unique<COutOfPeriodState>());
    else if (context.RestSecsLeft() <= 0)
        context.ChangeState(std::make_unique<CRestDoneState>());
}

void CForcedRestState::OnTimer(CUsageContext& context, int nSeconds) {
    context.CountRest(nSeconds);
    if (context.IsNewDay())
        context.ChangeState(std::make_unique<CNewDayState>());
    else if (context.IsPeriodLocked(CClock::Now()))
        context.ChangeState(std::make_unique<COutOfPeriodState>());
    else if (context.RestSecsLeft() <= 0)
        context.ChangeState(std::make_unique<CRestDoneState>());
}

std::string CForcedRestState::GetInfo1(const CUsageContext&) { return GetMsgText(236); }

std::string CForcedRestState::GetInfo2(const CUsageContext& context) {
    const int r = context.RestSecsLeft();
    return FormatMsgText(237, FormatHourMinSec(0, r / 60, r % 60).c_str());
}

std::string CForcedRestState::GetInfo3(const CUsageContext& context) {
    const int r = context.RestSecsLeft();
    return FormatMsgText(252, r / 60, r % 60);
}

std::string CForcedRestState::GetInfo4(const CUsageContext& context) {
    const int r = context.RestSecsLeft();
    return FormatMsgText(238, r / 60, r % 60);
}

int CForcedRestState::GetLockKind() const { return LOCK_BY_RULE; }
