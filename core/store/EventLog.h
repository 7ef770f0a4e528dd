// The parent's event log: events.log in the data folder, plain text that Notepad reads, one line
// per event with four fields separated by tabs:
//   local time (YYYY-MM-DD hh:mm:ss), kind, account ("-" for none), detail
// Lines end with CR LF. The file is bounded: past kMaxBytes the oldest lines go. Every append
// writes a complete new image (temporary file, flush, replacing move), and a reader drops a last
// line without its line end, so a crash never leaves half an event behind. A second copy of the
// same bytes is kept with the other data copies (core/seams/DataCopies.h); a reader takes the larger
// of the two, so neither deleting nor cutting the file hides events.
//
// Other parts add events with Append and their own kind; the kinds below are the store's and the
// lock screen's. A kind is one short word or phrase without tabs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/seams/Clock.h"

struct EVENT_ENTRY {
    std::string strTime;     // "YYYY-MM-DD hh:mm:ss", local
    std::string strKind;
    std::string strAccount;  // "-" when the event belongs to no account
    std::string strDetail;
};

class CEventLog {
public:
    static constexpr const char* kFileName = "events.log";
    static constexpr std::size_t kMaxBytes = 256 * 1024;

    // The kinds of event.
    static constexpr const char* kRestored = "restored";          // a data file restored from its copy
    static constexpr const char* kSaveFailed = "save failed";     // a data file could not be written
    static constexpr const char* kWrongPassword = "wrong password";  // at the lock screen
    static constexpr const char* kFirstRun = "first run";         // the Administrator password chosen
    static constexpr const char* kLogin = "login";                // the Administrator logged in
    static constexpr const char* kExtraTime = "extra time";       // extra time granted to a child
    static constexpr const char* kProgramEnded = "program ended";  // a program closed or ended by its rule
    // The guard's own kinds (the installed program's service); no program may write them.
    static constexpr const char* kRefused = "refused";            // a write or request the guard refused
    static constexpr const char* kChanged = "changed";            // a data file changed behind the guard, put back

    // Adds one event at the clock's current time; tabs and line breaks in the texts become
    // blanks. False when neither the file nor its copy could be written.
    // With a guard (core/seams/DataGuard.h) the event goes to it, which adds it at its own time.
    static bool Append(const std::string& strKind, const std::string& strAccount, const std::string& strDetail);
    // Adds the event to the file and its copy here, whatever guard there is: the guard's own way.
    static bool AppendHere(const std::string& strKind, const std::string& strAccount, const std::string& strDetail);
    // Every complete event, oldest first.
    static std::vector<EVENT_ENTRY> ReadAll();
    // The events after the last Administrator login (all of them when there was none), oldest first.
    static std::vector<EVENT_ENTRY> SinceLastLogin();
    // One event as its line shows it, without the line end.
    static std::string LineOf(const EVENT_ENTRY& entry);
};
