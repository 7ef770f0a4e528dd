// CUserLockedState: its transitions and status texts.
#include "core/rules/UserLockedState.h"

#include <algorithm>
#include <memory>

#include "core/rules/AllowedState.h"
#include "core/rules/UsageContext.h"
#include "core/texts/MsgText.h"

void CUserLockedState::OnResume(CUsageContext& context) { ResumeWaiting(context); }
void CUserLockedState::OnTimer(CUsageContext& context, int nSeconds) { TimerWaiting(context, nSeconds); }
void CUserLockedState::OnStartToUse(CUsageContext& context) { context.ChangeState(std::make_unique<CAllowedState>()); }

std::string CUserLockedState::GetInfo1(const CUsageContext&) { return GetMsgText(168); }
std::string CUserLockedState::GetInfo2(const CUsageContext&) { return GetMsgText(169); }
std::string CUserLockedState::GetInfo3(const CUsageContext&) { return GetMsgText(250); }
std::string CUserLockedState::GetInfo4(const CUsageContext& context) { return GetInfo2(context); }
int CUserLockedState::GetLockKind() const { return LOCK_UNTIL_START; }
