// CUndifiedState: it only decides.
#include "core/rules/UndifiedState.h"

void CUndifiedState::OnEnter(CUsageContext& context) { Decide(context); }
void CUndifiedState::OnResume(CUsageContext& context) { Decide(context); }
STATE_TEXTS CUndifiedState::Texts(const CUsageContext&) const { return DiagnosticTexts("CUndifiedState"); }
