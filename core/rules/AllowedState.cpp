// CAllowedState: its transitions and status texts.
#include "core/rules/AllowedState.h"

#include <algorithm>
#include <memory>

#include "core/rules/ForcedRestState.h"
#include "core/rules/NewDayState.h"
#include "core/rules/OutOfPeriodState.h"
#include "core/rules/TotalUsedUpState.h"
#include "core/rules/UsageContext.h"
#include "core/rules/UserLockedState.h"
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

void CAllowedState::OnTakeRest(CUsageContext& context) { context.ChangeState(std::make_unique<CUserLockedState>()); }

std::string CAllowedState::GetInfo1(const CUsageContext&) { return GetMsgText(146); }
std::string CAllowedState::GetInfo2(const CUsageContext& context) { return m_countdown.GetAboutText(context); }

std::string CAllowedState::GetInfo3(const CUsageContext& context) {
    const int t = m_countdown.GetSecondsToLock(context);
    if (t >= 3600) return GetMsgText(254);
    return FormatMsgText(252, (t % 3600) / 60, t % 60);
}

std::string CAllowedState::GetInfo4(const CUsageContext& context) { return m_countdown.GetClockText(context); }
int CAllowedState::GetLockKind() const { return LOCK_IN_USE; }
