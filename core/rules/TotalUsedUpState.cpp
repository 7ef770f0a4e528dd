// CTotalUsedUpState: its transitions and status texts.
#include "core/rules/TotalUsedUpState.h"

#include <algorithm>
#include <memory>

#include "core/rules/AllowedState.h"
#include "core/rules/NewDayState.h"
#include "core/rules/UsageContext.h"
#include "core/texts/MsgText.h"

// Extra time granted while the screen was locked lets the child in.
void CTotalUsedUpState::OnResume(CUsageContext& context) {
    if (ResumeNewDay(context) || ResumeChanged(context)) return;
    if (context.HasExtra()) context.ChangeState(std::make_unique<CAllowedState>());
}

void CTotalUsedUpState::OnTimer(CUsageContext& context, int) {
    if (context.IsNewDay())
        context.ChangeState(std::make_unique<CNewDayState>());
    else if (context.HasExtra())
        context.ChangeState(std::make_unique<CAllowedState>());
}

std::string CTotalUsedUpState::GetInfo1(const CUsageContext&) { return GetMsgText(154); }
std::string CTotalUsedUpState::GetInfo2(const CUsageContext&) { return GetMsgText(156); }
std::string CTotalUsedUpState::GetInfo3(const CUsageContext&) { return GetMsgText(250); }
std::string CTotalUsedUpState::GetInfo4(const CUsageContext& context) { return GetInfo2(context); }
int CTotalUsedUpState::GetLockKind() const { return LOCK_BY_RULE; }
