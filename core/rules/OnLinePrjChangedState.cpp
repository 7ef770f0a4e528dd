// COnLinePrjChangedState: its transitions and status texts.
#include "core/rules/OnLinePrjChangedState.h"

#include <algorithm>
#include <memory>

#include "core/rules/UsageContext.h"
void COnLinePrjChangedState::OnResume(CUsageContext& context) {
    // A running rest is dropped; the seconds used today are kept.
    context.Recount();
    context.SnapshotPrj();
    Decide(context);
}

std::string COnLinePrjChangedState::GetInfo1(const CUsageContext&) { return DiagnosticText("COnLinePrjChangedState", 1); }
std::string COnLinePrjChangedState::GetInfo2(const CUsageContext&) { return DiagnosticText("COnLinePrjChangedState", 2); }
std::string COnLinePrjChangedState::GetInfo3(const CUsageContext&) { return DiagnosticText("COnLinePrjChangedState", 3); }
std::string COnLinePrjChangedState::GetInfo4(const CUsageContext&) { return DiagnosticText("COnLinePrjChangedState", 4); }
int COnLinePrjChangedState::GetLockKind() const { return LOCK_IN_USE; }
