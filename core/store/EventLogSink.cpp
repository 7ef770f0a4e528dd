#include "core/store/EventLogSink.h"

#include "core/store/EventLog.h"

void CEventLogSink::Record(EVENT_KIND kind, const std::string& strText) {
    CEventLog::Append(EventKindName(kind), "-", strText);
}
