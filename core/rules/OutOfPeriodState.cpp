// COutOfPeriodState: its transitions and status texts.
#include "core/rules/OutOfPeriodState.h"

#include <algorithm>
#include <memory>

#include "core/rules/AllowedState.h"
#include "core/rules/NewDayState.h"
#include "core/rules/PeriodArrivedState.h"
#include "core/rules/UsageContext.h"
#include "core/texts/MsgText.h"

void COutOfPeriodState::OnResume(CUsageContext& context) {
    context.CreditRest(ResumeGap(context));
    if (ResumeNewDay(context) || ResumeChanged(context)) return;
    if (context.HasExtra())
        context.ChangeState(std::make_unique<CAllowedState>());
    else if (!context.IsOutsidePeriod(context.SessionTime()))
        context.ChangeState(std::make_unique<CPeriodArrivedState>());
}

void COutOfPeriodState::OnTimer(CUsageContext& context, int nSeconds) {
    context.CreditRest(nSeconds);
    if (context.IsNewDay())
        context.ChangeState(std::make_unique<CNewDayState>());
    else if (context.HasExtra())
        context.ChangeState(std::make_unique<CAllowedState>());
    else if (!context.IsOutsidePeriod(CClock::Now()))
        context.ChangeState(std::make_unique<CPeriodArrivedState>());
}

std::string COutOfPeriodState::GetInfo1(const CUsageContext&) { return GetMsgText(160); }

std::string COutOfPeriodState::GetInfo2(const CUsageContext& context) {
    const CDayPrj& day = context.Today();
    return FormatMsgText(162, day.m_nStartHour, day.m_nStartMinute, day.m_nEndHour, day.m_nEndMinute);
}

std::string COutOfPeriodState::GetInfo3(const CUsageContext&) { return GetMsgText(250); }
std::string COutOfPeriodState::GetInfo4(const CUsageContext&) { return std::string(); }
int COutOfPeriodState::GetLockKind() const { return LOCK_BY_RULE; }
