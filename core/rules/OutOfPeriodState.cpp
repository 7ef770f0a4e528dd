// COutOfPeriodState: its transitions and status texts.
#include "core/rules/OutOfPeriodState.h"

#include <memory>

#include "core/rules/AllowedState.h"
#include "core/rules/NewDayState.h"
#include "core/rules/UsageContext.h"
#include "core/rules/WaitForStartState.h"
#include "core/texts/MsgText.h"

void COutOfPeriodState::OnResume(CUsageContext& context) {
    context.CreditRest(ResumeGap(context));
    if (ResumeNewDay(context) || ResumeChanged(context)) return;
    if (context.HasExtra())
        context.ChangeState(std::make_unique<CAllowedState>());
    else if (!context.IsOutsidePeriod(context.SessionTime()))
        context.ChangeState(std::make_unique<CWaitForStartState>(STATE_PERIOD_ARRIVED));
}

void COutOfPeriodState::OnTimer(CUsageContext& context, int nSeconds) {
    context.CreditRest(nSeconds);
    if (context.IsNewDay())
        context.ChangeState(std::make_unique<CNewDayState>());
    else if (context.HasExtra())
        context.ChangeState(std::make_unique<CAllowedState>());
    else if (!context.IsOutsidePeriod(CClock::Now()))
        context.ChangeState(std::make_unique<CWaitForStartState>(STATE_PERIOD_ARRIVED));
}

STATE_TEXTS COutOfPeriodState::Texts(const CUsageContext& context) const {
    const CDayPrj& day = context.Today();
    return {.strHeadline = GetMsgText(160),
            .strExplanation = FormatMsgText(162, day.m_nStartHour, day.m_nStartMinute, day.m_nEndHour, day.m_nEndMinute),
            .strMiniText = GetMsgText(250),
            .strStatusLine = std::string()};
}
