// CWaitForStartState: the way out by "Start to use" or the period's end, and the headline of each
// reason to wait.
#include "core/rules/WaitForStartState.h"

#include <memory>

#include "core/rules/AllowedState.h"
#include "core/rules/OutOfPeriodState.h"
#include "core/rules/UsageContext.h"
#include "core/texts/MsgText.h"

void CWaitForStartState::OnResume(CUsageContext& context) {
    context.CreditRest(ResumeGap(context));
    if (ResumeNewDay(context) || ResumeChanged(context)) return;
    if (context.IsPeriodLocked(context.SessionTime())) context.ChangeState(std::make_unique<COutOfPeriodState>());
}

void CWaitForStartState::OnTimer(CUsageContext& context, int nSeconds) {
    context.CreditRest(nSeconds);
    TimerNewDayOrPeriod(context);
}

void CWaitForStartState::OnStartToUse(CUsageContext& context) { context.ChangeState(std::make_unique<CAllowedState>()); }

STATE_TEXTS CWaitForStartState::Texts(const CUsageContext& context) const {
    switch (GetId()) {
        case STATE_REST_DONE: return UntilStartTexts(FormatMsgText(166, context.Today().m_nRestMinutes));
        case STATE_PERIOD_ARRIVED: return UntilStartTexts(GetMsgText(174));
        default: return UntilStartTexts(GetMsgText(168));  // the user's own rest
    }
}
