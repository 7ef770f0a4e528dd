// CTotalUsedUpState: its transitions and status texts.
#include "engine/TotalUsedUpState.h"

#include <algorithm>
#include <memory>

#include "engine/UsageContext.h"
#include "settings/MsgText.h"

void CTotalUsedUpState::OnResume(CUsageContext& context) { ResumeDayLocked(context); }
void CTotalUsedUpState::OnTimer(CUsageContext& context, int) { TimerDayLocked(context); }

std::string CTotalUsedUpState::GetInfo1(const CUsageContext&) { return GetMsgText(154); }
std::string CTotalUsedUpState::GetInfo2(const CUsageContext&) { return GetMsgText(156); }
std::string CTotalUsedUpState::GetInfo3(const CUsageContext&) { return GetMsgText(250); }
std::string CTotalUsedUpState::GetInfo4(const CUsageContext& context) { return GetInfo2(context); }
int CTotalUsedUpState::GetLockKind() const { return LOCK_BY_RULE; }
