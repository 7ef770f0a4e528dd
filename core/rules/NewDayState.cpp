// CNewDayState: its texts (its events are the session's).
#include "core/rules/NewDayState.h"

#include "core/texts/MsgText.h"

STATE_TEXTS CNewDayState::Texts(const CUsageContext&) const { return UntilStartTexts(GetMsgText(170)); }
