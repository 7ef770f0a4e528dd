// COnLinePrjChangedState: its transitions and status texts.
#include "core/rules/OnLinePrjChangedState.h"

#include <algorithm>
#include <memory>

#include "core/rules/UsageContext.h"
void COnLinePrjChangedState::OnResume(CUsageContext& context) {
    const CDayPrj& day = *context.m_pTodayPrj;
    // A running rest is dropped; the seconds used today are kept.
    context.m_nTotalSecsLeft = day.m_bTotalLimit == 1 ? CUsageContext::TotalAllowance(day) - context.m_nUsedSecs : -1;
    context.m_nUseSecsBeforeRest = day.m_bRest == 1 ? day.m_nRestEvery * 60 : -1;
    context.m_nRestSecsLeft = -1;
    context.m_tLastSave = context.m_tSession;
    context.SnapshotPrj();
    Decide(context);
}

std::string COnLinePrjChangedState::GetInfo1(const CUsageContext&) { return DiagnosticText("COnLinePrjChangedState", 1); }
std::string COnLinePrjChangedState::GetInfo2(const CUsageContext&) { return DiagnosticText("COnLinePrjChangedState", 2); }
std::string COnLinePrjChangedState::GetInfo3(const CUsageContext&) { return DiagnosticText("COnLinePrjChangedState", 3); }
std::string COnLinePrjChangedState::GetInfo4(const CUsageContext&) { return DiagnosticText("COnLinePrjChangedState", 4); }
int COnLinePrjChangedState::GetLockKind() const { return LOCK_IN_USE; }
