// Keeps every event recorded while the object lives.
#pragma once

#include <string>
#include <vector>

#include "core/seams/Events.h"

class CEventRecorder final : public IEventSink {
public:
    CEventRecorder() { CEvents::Use(this); }
    ~CEventRecorder() override { CEvents::Use(nullptr); }
    CEventRecorder(const CEventRecorder&) = delete;
    CEventRecorder& operator=(const CEventRecorder&) = delete;

    void Record(EVENT_KIND kind, const std::string& strText) override { m_events.push_back({kind, strText}); }
    size_t Count(EVENT_KIND kind) const {
        size_t n = 0;
        for (const auto& e : m_events) n += e.kind == kind;
        return n;
    }

    struct EVENT {
        EVENT_KIND kind;
        std::string strText;
    };
    std::vector<EVENT> m_events;
};
