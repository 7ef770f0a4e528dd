// The time zone the guard holds during a child's day. Windows lets every account change the zone,
// and a new zone moves the days, the weekdays and the permitted period as a turned clock would;
// so while a child's day runs the guard, which may set the zone, sets a change back. Outside a
// child's day (no protected session's program beats, or the Administrator is logged in) the
// zone now set becomes the one held. The clock itself is left alone: a child cannot change it,
// and Windows' own time synchronisation must not be fought; use is counted by elapsed time.
#pragma once

#include <string>

class CZoneHold {
public:
    enum class RESULT { SAME, TAKEN, SET_BACK, NOT_SET_BACK };

    // The zone to hold (an empty text: the zone now).
    void Hold(const std::string& strZone);
    const std::string& Zone() const { return m_strZone; }
    // Compares the system's zone with the one held; every change set back, or not, is recorded.
    RESULT Check(bool bChildDay);

private:
    std::string m_strZone;
};
