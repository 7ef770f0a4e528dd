// COnLinePrjChangedState: the recount, then the decision.
#include "core/rules/OnLinePrjChangedState.h"

#include "core/rules/UsageContext.h"

void COnLinePrjChangedState::OnResume(CUsageContext& context) {
    // A running rest is dropped; the seconds used today are kept.
    context.Recount();
    context.SnapshotPrj();
    Decide(context);
}

STATE_TEXTS COnLinePrjChangedState::Texts(const CUsageContext&) const {
    return DiagnosticTexts("COnLinePrjChangedState");
}
