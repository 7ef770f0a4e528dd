// CPeriodArrivedState: its transitions and status texts.
#include "core/rules/PeriodArrivedState.h"

#include <algorithm>
#include <memory>

#include "core/rules/AllowedState.h"
#include "core/rules/UsageContext.h"
#include "core/texts/MsgText.h"

void CPeriodArrivedState::OnResume(CUsageContext& context) { ResumeWaiting(context); }
void CPeriodArrivedState::OnTimer(CUsageContext& context, int nSeconds) { TimerWaiting(context, nSeconds); }
void CPeriodArrivedState::OnStartToUse(CUsageContext& context) { context.ChangeState(std::make_unique<CAllowedState>()); }

std::string CPeriodArrivedState::GetInfo1(const CUsageContext&) { return GetMsgText(174); }
std::string CPeriodArrivedState::GetInfo2(const CUsageContext&) { return GetMsgText(169); }
std::string CPeriodArrivedState::GetInfo3(const CUsageContext&) { return GetMsgText(250); }
std::string CPeriodArrivedState::GetInfo4(const CUsageContext& context) { return GetInfo2(context); }
int CPeriodArrivedState::GetLockKind() const { return LOCK_UNTIL_START; }
