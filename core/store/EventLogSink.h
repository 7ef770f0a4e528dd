// Where the program's own events (clock, zone, a killed or hung program, the session's end) go:
// into the parent's event log, beside the store's events. They belong to no account.
#pragma once

#include "core/seams/Events.h"

class CEventLogSink : public IEventSink {
public:
    void Record(EVENT_KIND kind, const std::string& strText) override;
};
