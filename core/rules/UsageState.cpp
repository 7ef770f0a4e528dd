// The base state's do-nothing events, the texts and the steps the states share.
#include "core/rules/UsageState.h"

#include <algorithm>
#include <memory>

#include "core/rules/AllowedState.h"
#include "core/rules/ForbidDayState.h"
#include "core/rules/ForcedRestState.h"
#include "core/rules/NewDayState.h"
#include "core/rules/OnLinePrjChangedState.h"
#include "core/rules/OutOfPeriodState.h"
#include "core/rules/TotalUsedUpState.h"
#include "core/rules/UndifiedState.h"
#include "core/rules/UsageContext.h"
#include "core/rules/WaitForStartState.h"
#include "core/texts/MsgText.h"

void CUsageState::OnEnter(CUsageContext&) {}
void CUsageState::OnResume(CUsageContext&) {}
void CUsageState::OnTimer(CUsageContext&, int) {}
void CUsageState::OnTakeRest(CUsageContext&) {}
void CUsageState::OnStartToUse(CUsageContext&) {}

std::unique_ptr<CUsageState> CUsageState::Create(int nId) {
    switch (nId) {
        case STATE_UNDIFIED: return std::make_unique<CUndifiedState>();
        case STATE_ALLOWED: return std::make_unique<CAllowedState>();
        case STATE_TOTAL_USED_UP: return std::make_unique<CTotalUsedUpState>();
        case STATE_FORBID_DAY: return std::make_unique<CForbidDayState>();
        case STATE_OUT_OF_PERIOD: return std::make_unique<COutOfPeriodState>();
        case STATE_PERIOD_ARRIVED: return std::make_unique<CWaitForStartState>(STATE_PERIOD_ARRIVED);
        case STATE_FORCED_REST: return std::make_unique<CForcedRestState>();
        case STATE_REST_DONE: return std::make_unique<CWaitForStartState>(STATE_REST_DONE);
        case STATE_USER_LOCKED: return std::make_unique<CWaitForStartState>(STATE_USER_LOCKED);
        case STATE_NEW_DAY: return std::make_unique<CNewDayState>();
        case STATE_ONLINE_PRJ_CHANGED: return std::make_unique<COnLinePrjChangedState>();
        default: return nullptr;
    }
}

STATE_TEXTS CUsageState::DiagnosticTexts(const char* pszClass) {
    // "Called <method>, which shows the logic is wrong!" in code page 936. The literals are split
    // where a hex escape would otherwise swallow the letters after it.
    auto Text = [pszClass](const char* pszMethod) {
        std::string strText = "\xb5\xf7\xd3\xc3";  // "called"
        strText += std::string(pszClass) + "::" + pszMethod;
        strText += "\xa3\xac\xb1\xed\xc3\xf7\xc2\xdf\xbc\xad\xd3\xd0\xce\xca\xcc\xe2\xa3\xa1";
        return strText;
    };
    return {Text("Headline"), Text("Explanation"), Text("MiniText"), Text("StatusLine")};
}

STATE_TEXTS CUsageState::UntilStartTexts(std::string strHeadline) {
    const std::string strHint = GetMsgText(169);  // click "Start to use" to unlock
    return {.strHeadline = std::move(strHeadline),
            .strExplanation = strHint,
            .strMiniText = GetMsgText(250),
            .strStatusLine = strHint};
}

TIMESECS CUsageState::ResumeGap(const CUsageContext& context) {
    return std::max<TIMESECS>(0, context.SessionTime() - context.LastSave());
}

bool CUsageState::ResumeNewDay(CUsageContext& context) {
    if (!context.IsNewDay()) return false;
    context.ChangeState(std::make_unique<CNewDayState>());
    context.OnStartToUse();  // the new-day state ignores it; "Start to use" is the user's to press
    return true;
}

bool CUsageState::ResumeChanged(CUsageContext& context) {
    if (context.IsPrjUnchanged()) return false;
    context.ChangeState(std::make_unique<COnLinePrjChangedState>());
    context.RecreateState();
    return true;
}

bool CUsageState::TimerNewDayOrPeriod(CUsageContext& context) {
    if (context.IsNewDay())
        context.ChangeState(std::make_unique<CNewDayState>());
    else if (context.IsPeriodLocked(CClock::Now()))
        context.ChangeState(std::make_unique<COutOfPeriodState>());
    else
        return false;
    return true;
}

void CUsageState::Decide(CUsageContext& context) {
    const CDayPrj& day = context.Today();
    if (day.m_bForbid != 0)
        context.ChangeState(std::make_unique<CForbidDayState>());
    else if (context.IsTotalLocked())
        context.ChangeState(std::make_unique<CTotalUsedUpState>());
    else if (context.IsPeriodLocked(context.SessionTime()))
        context.ChangeState(std::make_unique<COutOfPeriodState>());
    else
        context.ChangeState(std::make_unique<CAllowedState>());
}
