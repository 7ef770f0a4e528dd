// The usage context: starts, saves, the state switch and the tests the states share.
#include "core/rules/UsageContext.h"

#include "core/rules/AllowedState.h"
#include "core/rules/ExtraTime.h"
#include "core/rules/NewDayState.h"
#include "core/rules/UsageState.h"
#include "core/store/ExtraTimeStore.h"
#include "core/store/PrjStore.h"
#include "core/store/UsageStore.h"

#include <algorithm>

CUsageContext::CUsageContext() = default;

CUsageContext::CUsageContext(std::string strUser) : m_strUser(std::move(strUser)) {}

CUsageContext::CUsageContext(const CUsageContext& other) { *this = other; }

CUsageContext& CUsageContext::operator=(const CUsageContext& other) {
    if (this == &other) return *this;
    m_strUser = other.m_strUser;
    m_nUsedSecs = other.m_nUsedSecs;
    m_nTotalSecsLeft = other.m_nTotalSecsLeft;
    m_nUseSecsBeforeRest = other.m_nUseSecsBeforeRest;
    m_nRestSecsLeft = other.m_nRestSecsLeft;
    m_tLastSave = other.m_tLastSave;
    m_prjCopy = other.m_prjCopy;
    m_nStateId = other.m_nStateId;
    m_today = other.m_today;
    m_tSession = other.m_tSession;
    m_mini = other.m_mini;
    m_nExtraSecsLeft = other.m_nExtraSecsLeft;
    m_nExtraGrantedSecs = other.m_nExtraGrantedSecs;
    m_nLocks = other.m_nLocks;
    m_pExtraStore = other.m_pExtraStore;
    return *this;
}

CUsageContext::~CUsageContext() = default;

std::int32_t CUsageContext::TotalAllowance(const CDayPrj& day) {
    return (day.m_nTotalMinutes + day.m_nTotalHours * 60) * 60;
}

TIMESECS CUsageContext::LoadToday(const std::string& strUser, CPrjStore& prjStore, CUsageStore& usageStore) {
    prjStore.Load();
    usageStore.Load();
    const TIMESECS tNow = CClock::Now();
    CUserPrj* pWeek = prjStore.Find(strUser);
    if (!pWeek) {
        // Accounts get their week when they are created; a user without one (a lost prj.nam)
        // gets the default week rather than no arrangement at all.
        prjStore.Add(CUserPrj(strUser));
        prjStore.Save();
        pWeek = prjStore.Find(strUser);
    }
    m_today = pWeek->m_days[CClock::ToLocal(tNow).nWeekday];
    m_strUser = strUser;
    LoadExtra(tNow);
    return tNow;
}

void CUsageContext::LoadExtra(TIMESECS tNow) {
    m_nExtraSecsLeft = m_nExtraGrantedSecs = m_nLocks = 0;
    if (!m_pExtraStore) return;
    m_pExtraStore->Load();
    const EXTRA_RECORD* pRecord = m_pExtraStore->Find(m_strUser);
    if (!pRecord || pRecord->nDate != DateKey(tNow)) return;
    m_nExtraSecsLeft = pRecord->nExtraSecsLeft;
    m_nExtraGrantedSecs = pRecord->nGrantedSecs;
    m_nLocks = pRecord->nLocks;
}

bool CUsageContext::SaveExtra() {
    if (!m_pExtraStore) return true;
    EXTRA_RECORD& record = m_pExtraStore->ForDate(m_strUser, DateKey(m_tSession));
    record.nGrantedSecs = m_nExtraGrantedSecs;
    record.nExtraSecsLeft = m_nExtraSecsLeft;
    record.nLocks = m_nLocks;
    return m_pExtraStore->Save();
}

void CUsageContext::GrantExtra(int nSeconds) {
    if (nSeconds <= 0) return;
    m_nExtraSecsLeft += nSeconds;
    m_nExtraGrantedSecs += nSeconds;
    const int nId = GetStateId();
    if (nId == STATE_TOTAL_USED_UP || nId == STATE_OUT_OF_PERIOD) ChangeState(std::make_unique<CAllowedState>());
}

bool CUsageContext::IsBeyondLimits(TIMESECS t) const {
    return (Today().m_bTotalLimit == 1 && m_nTotalSecsLeft <= 0) || IsOutsidePeriod(t);
}

bool CUsageContext::IsTotalLocked() const {
    return Today().m_bTotalLimit == 1 && m_nTotalSecsLeft <= 0 && !HasExtra();
}

bool CUsageContext::IsPeriodLocked(TIMESECS t) const { return !HasExtra() && IsOutsidePeriod(t); }

void CUsageContext::UseExtra(int nSeconds) { m_nExtraSecsLeft = std::max(0, m_nExtraSecsLeft - nSeconds); }

void CUsageContext::Start(const std::string& strUser, bool bActive, CPrjStore& prjStore, CUsageStore& usageStore) {
    if (bActive)
        StartResumed(strUser, prjStore, usageStore);
    else
        StartFresh(strUser, prjStore, usageStore);
}

void CUsageContext::StartFresh(const std::string& strUser, CPrjStore& prjStore, CUsageStore& usageStore) {
    const TIMESECS tNow = LoadToday(strUser, prjStore, usageStore);
    std::int32_t nUsedSecs = 0;
    if (const USAGE_RECORD* pRecord = usageStore.Find(strUser)) {
        nUsedSecs = CClock::IsSameDate(pRecord->tLastSave, tNow) ? pRecord->nUsedSecs : 0;
        m_mini = MINI_PLACE{pRecord->bShowMini, pRecord->nMiniX, pRecord->nMiniY};
    } else {
        m_mini = MINI_PLACE{};
    }
    StartDay(*m_today, tNow, nUsedSecs);
    ResetState();
}

void CUsageContext::StartDay(const CDayPrj& today, TIMESECS tNow, std::int32_t nUsedSecs) {
    m_today = today;
    m_nUsedSecs = nUsedSecs;
    m_tSession = tNow;
    Recount();
}

void CUsageContext::Recount() {
    const CDayPrj& day = Today();
    // May be 0 or below when more than the day's allowance was used already.
    m_nTotalSecsLeft = day.m_bTotalLimit == 1 ? TotalAllowance(day) - m_nUsedSecs : -1;
    m_nUseSecsBeforeRest = day.m_bRest == 1 ? day.m_nRestEvery * 60 : -1;
    m_nRestSecsLeft = -1;
}

void CUsageContext::CountUse(int nSeconds) {
    const CDayPrj& day = Today();
    m_nUsedSecs += nSeconds;
    if (day.m_bTotalLimit == 1) m_nTotalSecsLeft = std::max(0, m_nTotalSecsLeft - nSeconds);
    if (day.m_bRest == 1) m_nUseSecsBeforeRest = std::max(0, m_nUseSecsBeforeRest - nSeconds);
}

void CUsageContext::BeginRest() { m_nRestSecsLeft = Today().m_nRestMinutes * 60; }

void CUsageContext::CountRest(TIMESECS nSeconds) {
    const CDayPrj& day = Today();
    // Resting refills the interval, so use starts with a full one afterwards.
    if (day.m_bRest == 1) m_nUseSecsBeforeRest = day.m_nRestEvery * 60;
    m_nRestSecsLeft = static_cast<std::int32_t>(std::max<TIMESECS>(0, m_nRestSecsLeft - nSeconds));
}

void CUsageContext::CreditRest(TIMESECS nSeconds) {
    const CDayPrj& day = Today();
    if (day.m_bRest != 1) return;
    const TIMESECS nFull = TIMESECS(day.m_nRestEvery) * 60;
    m_nUseSecsBeforeRest = static_cast<std::int32_t>(std::min(nFull, TIMESECS(m_nUseSecsBeforeRest) + nSeconds));
}

void CUsageContext::StartResumed(const std::string& strUser, CPrjStore& prjStore, CUsageStore& usageStore) {
    const TIMESECS tNow = LoadToday(strUser, prjStore, usageStore);
    const USAGE_RECORD* pRecord = usageStore.Find(strUser);
    if (!pRecord || !CClock::IsSameDate(pRecord->tLastSave, tNow)) {
        StartFresh(strUser, prjStore, usageStore);
        return;
    }
    m_tSession = tNow;
    TakeRecord(*pRecord);
    RecreateState();
}

void CUsageContext::StartNewDay(CPrjStore& prjStore, CUsageStore& usageStore) {
    StartFresh(m_strUser, prjStore, usageStore);
    ChangeState(std::make_unique<CNewDayState>());
}

bool CUsageContext::Save(CUsageStore& usageStore) {
    m_tLastSave = CClock::Now();
    m_nStateId = GetStateId();
    SnapshotPrj();
    if (USAGE_RECORD* pRecord = usageStore.Find(m_strUser))
        *pRecord = ToRecord();
    else
        usageStore.Add(ToRecord());
    const bool bExtraSaved = SaveExtra();
    return usageStore.Save() && bExtraSaved;
}

USAGE_RECORD CUsageContext::ToRecord() const {
    USAGE_RECORD record;
    record.strUser = m_strUser;
    record.nUsedSecs = m_nUsedSecs;
    record.nTotalSecsLeft = m_nTotalSecsLeft;
    record.nUseSecsBeforeRest = m_nUseSecsBeforeRest;
    record.nRestSecsLeft = m_nRestSecsLeft;
    record.tLastSave = m_tLastSave;
    record.prjCopy = m_prjCopy;
    record.nStateId = m_nStateId;
    record.bShowMini = m_mini.bShow;
    record.nMiniX = m_mini.nX;
    record.nMiniY = m_mini.nY;
    return record;
}

void CUsageContext::TakeRecord(const USAGE_RECORD& record) {
    m_strUser = record.strUser;
    m_nUsedSecs = record.nUsedSecs;
    m_nTotalSecsLeft = record.nTotalSecsLeft;
    m_nUseSecsBeforeRest = record.nUseSecsBeforeRest;
    m_nRestSecsLeft = record.nRestSecsLeft;
    m_tLastSave = record.tLastSave;
    m_prjCopy = record.prjCopy;
    m_nStateId = record.nStateId;
    m_mini = MINI_PLACE{record.bShowMini, record.nMiniX, record.nMiniY};
}

template <typename F>
void CUsageContext::Dispatch(F&& event) {
    if (!m_pState) return;
    ++m_nDepth;
    event(*m_pState);
    // Only when the outermost event is over can no handler of a replaced state still be running.
    if (--m_nDepth == 0) m_retired.clear();
}

void CUsageContext::ChangeState(std::unique_ptr<CUsageState> pState) {
    // A lock by a rule while the child was using the computer counts in the day's history.
    if (GetStateId() == STATE_ALLOWED && pState && pState->GetLockKind() == LOCK_BY_RULE) ++m_nLocks;
    if (m_pState) m_retired.push_back(std::move(m_pState));
    m_pState = std::move(pState);
    m_nStateId = m_pState ? m_pState->GetId() : -1;
    if (m_nDepth == 0) m_retired.clear();
}

void CUsageContext::ResetState() {
    ChangeState(CUsageState::Create(STATE_UNDIFIED));
    Dispatch([this](CUsageState& state) { state.OnEnter(*this); });
}

void CUsageContext::RecreateState() {
    std::unique_ptr<CUsageState> pState = CUsageState::Create(m_nStateId);
    if (!pState) {
        // Not an id any state has (a damaged file): start over as on a fresh start.
        ResetState();
        return;
    }
    ChangeState(std::move(pState));
    Dispatch([this](CUsageState& state) { state.OnResume(*this); });
}

void CUsageContext::OnTimer(int nSeconds) {
    Dispatch([this, nSeconds](CUsageState& state) { state.OnTimer(*this, nSeconds); });
}

void CUsageContext::OnTakeRest() {
    Dispatch([this](CUsageState& state) { state.OnTakeRest(*this); });
}

void CUsageContext::OnStartToUse() {
    Dispatch([this](CUsageState& state) { state.OnStartToUse(*this); });
}

STATE_TEXTS CUsageContext::Texts() const { return m_pState ? m_pState->Texts(*this) : STATE_TEXTS(); }
int CUsageContext::GetLockKind() const { return m_pState ? m_pState->GetLockKind() : -1; }
int CUsageContext::GetStateId() const { return m_pState ? m_pState->GetId() : -1; }

bool CUsageContext::IsNewDay() const {
    m_sessionDay.Set(m_tSession);
    return !m_sessionDay.Contains(CClock::Now());
}

bool CUsageContext::IsOutsidePeriod(TIMESECS t) const {
    const CDayPrj& day = Today();
    if (day.m_bPeriod == 0) return false;
    PERIOD_TIMES& p = m_periodTimes;
    p.day.Set(t);
    if (p.tDay != p.day.Next() || p.nStartHour != day.m_nStartHour || p.nStartMinute != day.m_nStartMinute ||
        p.nEndHour != day.m_nEndHour || p.nEndMinute != day.m_nEndMinute) {
        p.nStartHour = day.m_nStartHour, p.nStartMinute = day.m_nStartMinute;
        p.nEndHour = day.m_nEndHour, p.nEndMinute = day.m_nEndMinute;
        p.tDay = p.day.Next();
        p.tStart = p.day.At(p.nStartHour, p.nStartMinute, 0);
        p.tEnd = p.day.At(p.nEndHour, p.nEndMinute, 0);
    }
    return !(p.tStart < t && t < p.tEnd);
}

bool CUsageContext::IsPrjUnchanged() const { return IsSameArrangement(m_prjCopy, Today()); }

bool CUsageContext::IsSameArrangement(const CDayPrj& a, const CDayPrj& b) {
    if (a.m_bForbid != b.m_bForbid || a.m_bFree != b.m_bFree || a.m_bTotalLimit != b.m_bTotalLimit ||
        a.m_bRest != b.m_bRest || a.m_bPeriod != b.m_bPeriod)
        return false;
    if (a.m_bTotalLimit == 1 && (a.m_nTotalHours != b.m_nTotalHours || a.m_nTotalMinutes != b.m_nTotalMinutes))
        return false;
    if (a.m_bRest == 1 && (a.m_nRestEvery != b.m_nRestEvery || a.m_nRestMinutes != b.m_nRestMinutes)) return false;
    if (a.m_bPeriod == 1 && (a.m_nStartHour != b.m_nStartHour || a.m_nStartMinute != b.m_nStartMinute ||
                             a.m_nEndHour != b.m_nEndHour || a.m_nEndMinute != b.m_nEndMinute))
        return false;
    return true;
}

void CUsageContext::SnapshotPrj() {
    if (m_today) m_prjCopy = *m_today;
}
