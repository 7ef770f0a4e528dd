// CAllowedState: its transitions and status texts.
#include "core/rules/AllowedState.h"

#include <memory>

#include "core/rules/ForcedRestState.h"
#include "core/rules/NewDayState.h"
#include "core/rules/OutOfPeriodState.h"
#include "core/rules/TotalUsedUpState.h"
#include "core/rules/UsageContext.h"
#include "core/rules/WaitForStartState.h"
#include "core/texts/MsgText.h"

void CAllowedState::OnResume(CUsageContext& context) {
    context.CreditRest(ResumeGap(context));
    if (ResumeNewDay(context) || ResumeChanged(context)) return;
    if (context.IsPeriodLocked(context.SessionTime())) context.ChangeState(std::make_unique<COutOfPeriodState>());
}

void CAllowedState::OnTimer(CUsageContext& context, int nSeconds) {
    const CDayPrj& day = context.Today();
    // Use past the total or the period can only be extra time granted today.
    const bool bBeyond = context.IsBeyondLimits(CClock::Now() - nSeconds);
    context.CountUse(nSeconds);
    if (bBeyond) context.UseExtra(nSeconds);

    // The new day wins over every limit, then the total, the period and last the rest.
    if (context.IsNewDay()) {
        context.ChangeState(std::make_unique<CNewDayState>());
    } else if (context.IsTotalLocked()) {
        context.ChangeState(std::make_unique<CTotalUsedUpState>());
    } else if (context.IsPeriodLocked(CClock::Now())) {
        context.ChangeState(std::make_unique<COutOfPeriodState>());
    } else if (day.m_bRest == 1 && context.UseSecsBeforeRest() <= 0) {
        context.ChangeState(std::make_unique<CForcedRestState>());
        context.BeginRest();
    }
}

void CAllowedState::OnTakeRest(CUsageContext& context) { context.ChangeState(std::make_unique<CWaitForStartState>(STATE_USER_LOCKED)); }

STATE_TEXTS CAllowedState::Texts(const CUsageContext& context) const {
    // Within the hour before the first lock the mini window counts down; further off it waits.
    const int t = m_countdown.GetSecondsToLock(context);
    return {.strHeadline = GetMsgText(146),
            .strExplanation = m_countdown.GetAboutText(context),
            .strMiniText = t >= 3600 ? GetMsgText(254) : FormatMsgText(252, (t % 3600) / 60, t % 60),
            .strStatusLine = m_countdown.GetClockText(context)};
}
