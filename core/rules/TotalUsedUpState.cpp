// CTotalUsedUpState: its transitions and status texts.
#include "core/rules/TotalUsedUpState.h"

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

STATE_TEXTS CTotalUsedUpState::Texts(const CUsageContext&) const {
    return {.strHeadline = GetMsgText(154),
            .strExplanation = GetMsgText(156),
            .strMiniText = GetMsgText(250),
            .strStatusLine = GetMsgText(156)};
}
