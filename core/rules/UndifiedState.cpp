// CUndifiedState: its transitions and status texts.
#include "core/rules/UndifiedState.h"

#include <algorithm>
#include <memory>

#include "core/rules/UsageContext.h"
void CUndifiedState::OnEnter(CUsageContext& context) { Decide(context); }
void CUndifiedState::OnResume(CUsageContext& context) { Decide(context); }

std::string CUndifiedState::GetInfo1(const CUsageContext&) { return DiagnosticText("CUndifiedState", 1); }
std::string CUndifiedState::GetInfo2(const CUsageContext&) { return DiagnosticText("CUndifiedState", 2); }
std::string CUndifiedState::GetInfo3(const CUsageContext&) { return DiagnosticText("CUndifiedState", 3); }
std::string CUndifiedState::GetInfo4(const CUsageContext&) { return DiagnosticText("CUndifiedState", 4); }
int CUndifiedState::GetLockKind() const { return LOCK_IN_USE; }
