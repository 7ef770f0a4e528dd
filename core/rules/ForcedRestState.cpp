// CForcedRestState: its transitions and status texts.
#include "core/rules/ForcedRestState.h"

#include <memory>

#include "core/rules/OutOfPeriodState.h"
#include "core/rules/UsageContext.h"
#include "core/rules/WaitForStartState.h"
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
        context.ChangeState(std::make_unique<CWaitForStartState>(STATE_REST_DONE));
}

void CForcedRestState::OnTimer(CUsageContext& context, int nSeconds) {
    context.CountRest(nSeconds);
    if (!TimerNewDayOrPeriod(context) && context.RestSecsLeft() <= 0)
        context.ChangeState(std::make_unique<CWaitForStartState>(STATE_REST_DONE));
}

STATE_TEXTS CForcedRestState::Texts(const CUsageContext& context) const {
    const int r = context.RestSecsLeft();
    return {.strHeadline = GetMsgText(236),
            .strExplanation = FormatMsgText(237, FormatHourMinSec(0, r / 60, r % 60).c_str()),
            .strMiniText = FormatMsgText(252, r / 60, r % 60),
            .strStatusLine = FormatMsgText(238, r / 60, r % 60)};
}
