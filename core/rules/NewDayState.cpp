// CNewDayState: its transitions and status texts.
#include "core/rules/NewDayState.h"

#include <algorithm>
#include <memory>

#include "core/rules/UsageContext.h"
#include "core/texts/MsgText.h"

std::string CNewDayState::GetInfo1(const CUsageContext&) { return GetMsgText(170); }
std::string CNewDayState::GetInfo2(const CUsageContext&) { return GetMsgText(169); }
std::string CNewDayState::GetInfo3(const CUsageContext&) { return GetMsgText(250); }
std::string CNewDayState::GetInfo4(const CUsageContext& context) { return GetInfo2(context); }
int CNewDayState::GetLockKind() const { return LOCK_UNTIL_START; }
