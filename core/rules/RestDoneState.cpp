// CRestDoneState: its transitions and status texts.
#include "core/rules/RestDoneState.h"

#include <algorithm>
#include <memory>

#include "core/rules/AllowedState.h"
#include "core/rules/UsageContext.h"
#include "core/texts/MsgText.h"

void CRestDoneState::OnResume(CUsageContext& context) { ResumeWaiting(context); }
void CRestDoneState::OnTimer(CUsageContext& context, int nSeconds) { TimerWaiting(context, nSeconds); }
void CRestDoneState::OnStartToUse(CUsageContext& context) { context.ChangeState(std::make_unique<CAllowedState>()); }

std::string CRestDoneState::GetInfo1(const CUsageContext& context) {
    return FormatMsgText(166, context.Today().m_nRestMinutes);
}

std::string CRestDoneState::GetInfo2(const CUsageContext&) { return GetMsgText(169); }
std::string CRestDoneState::GetInfo3(const CUsageContext&) { return GetMsgText(250); }
std::string CRestDoneState::GetInfo4(const CUsageContext& context) { return GetInfo2(context); }
int CRestDoneState::GetLockKind() const { return LOCK_UNTIL_START; }
