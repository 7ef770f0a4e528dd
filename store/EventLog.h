// Where the program records what happened for the parent to read later (a grant of extra time,
// a lock, a wrong password), and reads it back for the history window. The store holds a pointer
// to the log its owner gives it; without one nothing is recorded and nothing is read.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "seams/Clock.h"

struct EVENT_ENTRY {
    TIMESECS tWhen = 0;
    std::string strUser;  // the child it concerns; empty for the program itself
    std::string strText;
};

class IEventLog {
public:
    virtual ~IEventLog() = default;
    // Appends one event, stamped with the clock's now.
    virtual void Record(const std::string& strUser, const std::string& strText) = 0;
    // At most nMax events about the user (every event for an empty name), newest first.
    virtual std::vector<EVENT_ENTRY> Newest(const std::string& strUser, std::size_t nMax) const = 0;
};
