// CForbidDayState: its transitions and status texts.
#include "core/rules/ForbidDayState.h"

#include <algorithm>
#include <memory>

#include "core/rules/UsageContext.h"
#include "core/texts/MsgText.h"

void CForbidDayState::OnResume(CUsageContext& context) { ResumeDayLocked(context); }
void CForbidDayState::OnTimer(CUsageContext& context, int) { TimerDayLocked(context); }

std::string CForbidDayState::GetInfo1(const CUsageContext&) { return GetMsgText(154); }
std::string CForbidDayState::GetInfo2(const CUsageContext&) { return GetMsgText(158); }
std::string CForbidDayState::GetInfo3(const CUsageContext&) { return GetMsgText(250); }
std::string CForbidDayState::GetInfo4(const CUsageContext&) { return std::string(); }
int CForbidDayState::GetLockKind() const { return LOCK_BY_RULE; }
