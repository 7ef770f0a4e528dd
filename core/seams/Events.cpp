// Events go to the sink installed, or nowhere.
#include "core/seams/Events.h"

namespace {
IEventSink* g_pSink = nullptr;
}

const char* EventKindName(EVENT_KIND kind) {
    switch (kind) {
        case EVENT_KIND::CLOCK_TURNED: return "clock";
        case EVENT_KIND::CLOCK_NOT_RESTORED: return "clock not set back";
        case EVENT_KIND::CLOCK_CHANGED: return "clock changed";
        case EVENT_KIND::ZONE_CHANGED: return "zone";
        case EVENT_KIND::ZONE_NOT_RESTORED: return "zone not set back";
        case EVENT_KIND::PROGRAM_KILLED: return "killed";
        case EVENT_KIND::PROGRAM_HUNG: return "suspended";
        case EVENT_KIND::SESSION_END: return "session end";
        case EVENT_KIND::INSTANCE_MUTEX_HELD: return "mutex held";
        case EVENT_KIND::DESKTOP_SWITCHED: return "desktop";
        case EVENT_KIND::AUTO_RUN_FAILED: return "auto-run";
    }
    return "event";
}

void CEvents::Record(EVENT_KIND kind, const std::string& strText) {
    if (g_pSink) g_pSink->Record(kind, strText);
}

void CEvents::Use(IEventSink* pSink) { g_pSink = pSink; }
