// What one day's arrangement means for a child who starts at the beginning of the permitted
// period and never stops: the day replayed second by second through the usage context and its
// states, on a clock of its own, so that the preview and the real day cannot disagree.
#pragma once

#include <string>
#include <vector>

#include "core/store/DayPrj.h"

// How a stretch of the replayed day looks on the preview's strip.
enum class PREVIEW_KIND {
    IN_USE,     // the child uses the computer
    REST,       // a mandatory rest
    OUTSIDE,    // outside the permitted period
    USED_UP,    // the day's total is used up
    FORBIDDEN,  // a day without use
};

// Seconds of the day [nFrom, nTo), 0 = midnight.
struct PREVIEW_SPAN {
    int nFrom = 0;
    int nTo = 0;
    PREVIEW_KIND kind = PREVIEW_KIND::IN_USE;
    bool operator==(const PREVIEW_SPAN&) const = default;
};

class CDayPreview {
public:
    static constexpr int kDaySecs = 24 * 3600;

    // Replays the day. The clock everything reads is replaced while it runs and given back after.
    static CDayPreview Simulate(const CDayPrj& day);

    // The strip: consecutive spans that cover the whole day.
    const std::vector<PREVIEW_SPAN>& Spans() const { return m_spans; }
    // The seconds of the day at which each mandatory rest begins.
    const std::vector<int>& RestStarts() const { return m_restStarts; }
    // When the child is locked for the rest of the day (total used up or period over), -1 never.
    int LockedForDayAt() const { return m_nLockedForDay; }
    // Seconds of use in the replayed day.
    int UsedSecs() const { return m_nUsedSecs; }
    // The permitted hours: the period, or the whole day without one (both 0 on a forbidden day).
    int UsableFrom() const { return m_nUsableFrom; }
    int UsableTo() const { return m_nUsableTo; }

    // The preview in one sentence, e.g. "Usable 07:30–22:00; rests at 07:55, 08:30, …; locked
    // for the day at 10:20." (ANSI text, an en dash and an ellipsis of code page 1252).
    std::string Sentence() const;
    // How many rest times the sentence names before it shortens the list with an ellipsis.
    static constexpr std::size_t kRestsNamed = 4;

private:
    enum class DAY_MODE { CONDITIONAL, FORBIDDEN, FREE };
    void Add(int nSecond, PREVIEW_KIND kind);

    DAY_MODE m_mode = DAY_MODE::CONDITIONAL;
    std::vector<PREVIEW_SPAN> m_spans;
    std::vector<int> m_restStarts;
    int m_nLockedForDay = -1;
    int m_nUsedSecs = 0;
    int m_nUsableFrom = 0;
    int m_nUsableTo = kDaySecs;
};

// "07:30" for a second of the day ("24:00" for the end of the day).
std::string ClockOfDay(int nSecond);
