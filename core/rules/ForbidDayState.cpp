// CForbidDayState: its transitions and status texts.
#include "core/rules/ForbidDayState.h"

#include <memory>

#include "core/rules/NewDayState.h"
#include "core/rules/UsageContext.h"
#include "core/texts/MsgText.h"

void CForbidDayState::OnResume(CUsageContext& context) {
    if (!ResumeNewDay(context)) ResumeChanged(context);
}

void CForbidDayState::OnTimer(CUsageContext& context, int) {
    if (context.IsNewDay()) context.ChangeState(std::make_unique<CNewDayState>());
}

STATE_TEXTS CForbidDayState::Texts(const CUsageContext&) const {
    return {.strHeadline = GetMsgText(154),
            .strExplanation = GetMsgText(158),
            .strMiniText = GetMsgText(250),
            .strStatusLine = std::string()};
}
