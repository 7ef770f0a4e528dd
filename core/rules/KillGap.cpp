// The kill gap.
#include "core/rules/KillGap.h"

#include <algorithm>

#include "core/rules/UsageState.h"
#include "core/seams/Desktop.h"
#include "core/seams/Events.h"
#include "core/store/UsageStore.h"

namespace {

// The boot time is the wall clock less the time since the start: it wavers by a second or two.
constexpr TIMESECS kSameBoot = 120;

}  // namespace

bool CKillGap::WasKilled() const {
    return m_tBeat > 0 && CClock::BootTime() < m_tBeat && CClock::Now() >= m_tBeat && !EndedWithTheSession();
}

bool CKillGap::EndedWithTheSession() const {
    if (!MarkIsTheLastRuns()) return false;
    const TIMESECS nBootMoved = CClock::BootTime() - m_sessionEnd->tBoot;
    return m_sessionEnd->nLogon != CDesktop::Get().LogonSession() || nBootMoved > kSameBoot || nBootMoved < -kSameBoot;
}

TIMESECS CKillGap::Gap() const { return WasKilled() ? CClock::Now() - m_tBeat : 0; }

int CKillGap::Account(CUsageStore& usageStore) const {
    if (!WasKilled()) return 0;
    const TIMESECS tNow = CClock::Now();
    std::string strText = "Quenby was not running for " + std::to_string(Gap()) + " s while Windows ran";
    if (MarkIsTheLastRuns()) strText += " (it had been told the Windows session ends, but the same session ran on)";
    int nAdded = 0;
    usageStore.Load();
    USAGE_RECORD* pRecord = m_strUser.empty() ? nullptr : usageStore.Find(m_strUser);
    // Only use the child was having counts: a rest or a lock running on is no use.
    if (pRecord && pRecord->nStateId == STATE_ALLOWED && pRecord->tLastSave <= tNow &&
        CClock::IsSameDate(pRecord->tLastSave, tNow)) {
        const TIMESECS nGap = tNow - pRecord->tLastSave;
        nAdded = static_cast<int>(std::min<TIMESECS>(nGap, 86400));
        pRecord->nUsedSecs += nAdded;
        if (pRecord->nTotalSecsLeft >= 0) pRecord->nTotalSecsLeft = std::max(0, pRecord->nTotalSecsLeft - nAdded);
        if (pRecord->nUseSecsBeforeRest >= 0)
            pRecord->nUseSecsBeforeRest = std::max(0, pRecord->nUseSecsBeforeRest - nAdded);
        // The gap is accounted for: the resumed login must not take it for a rest as well.
        pRecord->tLastSave = tNow;
        usageStore.Save();
        strText += "; " + std::to_string(nAdded) + " s counted as " + m_strUser + "'s use";
    }
    CEvents::Record(EVENT_KIND::PROGRAM_KILLED, strText + ".");
    return nAdded;
}
