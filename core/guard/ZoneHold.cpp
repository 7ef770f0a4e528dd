// The zone held.
#include "core/guard/ZoneHold.h"

#include "core/seams/Clock.h"
#include "core/seams/Events.h"
#include "core/seams/SystemActions.h"

void CZoneHold::Hold(const std::string& strZone) { m_strZone = strZone.empty() ? CClock::Zone() : strZone; }

CZoneHold::RESULT CZoneHold::Check(bool bChildDay) {
    const std::string strZone = CClock::Zone();
    if (m_strZone.empty() || strZone == m_strZone) {
        m_strZone = strZone;
        return RESULT::SAME;
    }
    if (!bChildDay) {
        m_strZone = strZone;
        return RESULT::TAKEN;
    }
    if (CSystem::Get().SetZone(m_strZone) && CClock::Zone() == m_strZone) {
        CEvents::Record(EVENT_KIND::ZONE_CHANGED, "The time zone was changed during a child's day; the guard set it back.");
        return RESULT::SET_BACK;
    }
    // Refused: the new zone stays, and is not fought over at every check.
    CEvents::Record(EVENT_KIND::ZONE_NOT_RESTORED,
                    "The time zone was changed during a child's day; the guard could not set it back.");
    m_strZone = strZone;
    return RESULT::NOT_SET_BACK;
}
