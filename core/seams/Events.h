// The events the program records for the parent: the clock or the zone turned (and whether it
// could be set back), the program found ended or hung, the Windows session ending, another
// desktop taking the input. Everything that records one calls CEvents::Record; where the records
// go is decided in one place (CEvents::Use), so the program's event log plugs in there and tests
// install a recorder.
#pragma once

#include <string>

enum class EVENT_KIND {
    CLOCK_TURNED,        // the wall clock jumped with a time-change notice and was set back
    CLOCK_NOT_RESTORED,  // ... but setting it back was refused (the program goes by the true time)
    CLOCK_CHANGED,       // the wall clock jumped while no child was logged in, and the new time was taken
    ZONE_CHANGED,        // the time zone was changed and set back
    ZONE_NOT_RESTORED,   // ... but setting it back was refused
    PROGRAM_KILLED,      // the program was ended while Windows ran on (found at the next start)
    PROGRAM_HUNG,        // the companion found the heartbeat stale (suspended or hung) and restarted it
    SESSION_END,         // the end of the Windows session was announced
    INSTANCE_MUTEX_HELD, // the instance mutex was held by something that is not a running Quenby
    DESKTOP_SWITCHED,    // another desktop had the input and was switched away from
    AUTO_RUN_FAILED,     // the start with Windows could not be made to follow the Administrator's choice
};

// The short name of a kind ("clock", "zone", ...), as a record shows it.
const char* EventKindName(EVENT_KIND kind);

class IEventSink {
public:
    virtual ~IEventSink() = default;
    virtual void Record(EVENT_KIND kind, const std::string& strText) = 0;
};

class CEvents {
public:
    static void Record(EVENT_KIND kind, const std::string& strText);
    // Where events go from now on (nullptr: nowhere). Set once at start-up, or by tests.
    static void Use(IEventSink* pSink);
};
