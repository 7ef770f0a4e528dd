// The logged-in child's usage for the day: counters, today's arrangement, and the current usage
// state, which decides tick by tick whether the computer may be used. Its snapshot of the day is
// kept in the usage store (use.sta) as a plain record between logins and restarts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/rules/LocalDay.h"
#include "core/seams/Clock.h"
#include "core/store/DayPrj.h"
#include "core/store/UsageRecord.h"

class CExtraTimeStore;
class CPrjStore;
class CUsageState;
class CUsageStore;

class CUsageContext {
public:
    // Mini window position meaning "not placed yet".
    static constexpr std::int32_t MINI_UNSET = USAGE_RECORD::MINI_UNSET;

    CUsageContext();
    explicit CUsageContext(std::string strUser);
    // Copies the data, never the state: a state object belongs to one context.
    CUsageContext(const CUsageContext& other);
    CUsageContext& operator=(const CUsageContext& other);
    virtual ~CUsageContext();

    // Starting a login. Each reloads prj.nam and use.sta first, so changes saved by other windows
    // are seen, and gives a user without a week in prj.nam seven default days (added and saved).
    //
    // Start picks the resumed start when the user is in the active-user list (bActive) and the
    // stored usage was saved today, the fresh start otherwise.
    void Start(const std::string& strUser, bool bActive, CPrjStore& prjStore, CUsageStore& usageStore);
    // Today's counters computed from the arrangement (keeping today's used seconds), then ResetState.
    void StartFresh(const std::string& strUser, CPrjStore& prjStore, CUsageStore& usageStore);
    // The stored snapshot taken over as it is, then RecreateState, which accounts for the gap.
    // Falls back to the fresh start when there is no snapshot from today.
    void StartResumed(const std::string& strUser, CPrjStore& prjStore, CUsageStore& usageStore);
    // Midnight seen by a logged-in user: reload for the new weekday, then wait in the new-day
    // state for "Start to use".
    void StartNewDay(CPrjStore& prjStore, CUsageStore& usageStore);
    // Snapshots the context into its user's element of the store and writes use.sta. The mini
    // window fields are taken from this context, so the window keeps them current.
    bool Save(CUsageStore& usageStore);

    // Starts the machine over: the undecided state chooses the real one.
    void ResetState();
    // Rebuilds the state stored in m_nStateId and lets it account for the time since the last
    // save. An id no state has (a damaged file) starts over with ResetState.
    void RecreateState();
    // Makes pState current and records its id. Called by the states from inside their handlers;
    // the replaced state object lives on until the event that is running returns.
    void ChangeState(std::unique_ptr<CUsageState> pState);

    // Events from the status window.
    void OnTimer(int nSeconds);
    void OnTakeRest();
    void OnStartToUse();

    std::string GetInfo1();
    std::string GetInfo2();
    std::string GetInfo3();
    std::string GetInfo4();
    int GetLockKind();
    // Id of the current state; -1 when there is none yet.
    int GetStateId() const;

    // Extra time granted on the spot for today: usable past the day's total and past the end of
    // the period (rests still apply), counted down only by such use. A grant while locked by the
    // total or the period lets the child in at once.
    void GrantExtra(int nSeconds);
    bool HasExtra() const { return m_nExtraSecsLeft > 0; }
    // True when a second beginning at t is past the day's total or outside the period.
    bool IsBeyondLimits(TIMESECS t) const;
    // The total is used up and no extra time is left.
    bool IsTotalLocked() const;
    // Outside the period at t and no extra time is left.
    bool IsPeriodLocked(TIMESECS t) const;
    // Takes a second of use past the limits from the extra time.
    void UseExtra(int nSeconds);

    // Tests shared by the states.
    // True when now falls on another local date than the last load (year, month and day compared).
    bool IsNewDay() const;
    // True when today's period applies and t is not strictly inside it; both ends count as outside.
    bool IsOutsidePeriod(TIMESECS t) const;
    // False when today's arrangement differs from the copy taken at the last save in any way that
    // matters: a mode or enable flag, or a value of a limit that is on.
    bool IsPrjUnchanged() const;
    void SnapshotPrj();

    // The stored fields as a use.sta record, and the record's fields taken over (user included).
    USAGE_RECORD ToRecord() const;
    void TakeRecord(const USAGE_RECORD& record);

    // Seconds of use a day arrangement allows (its total limit).
    static std::int32_t TotalAllowance(const CDayPrj& day);

    std::string m_strUser;
    std::int32_t m_nUsedSecs = 0;
    std::int32_t m_nTotalSecsLeft = -1;
    std::int32_t m_nUseSecsBeforeRest = -1;
    std::int32_t m_nRestSecsLeft = -1;
    TIMESECS m_tLastSave = 0;
    CDayPrj m_prjCopy;
    std::int32_t m_nStateId = -1;
    CDayPrj* m_pTodayPrj = nullptr;
    TIMESECS m_tSession = 0;
    std::int32_t m_bShowMini = 1;
    std::int32_t m_nMiniX = MINI_UNSET;
    std::int32_t m_nMiniY = MINI_UNSET;
    // Today's extra time and locks by a rule, kept in extra.tim when the store is given (the
    // status window gives it; a context without one keeps them in memory only).
    std::int32_t m_nExtraSecsLeft = 0;
    std::int32_t m_nExtraGrantedSecs = 0;
    std::int32_t m_nLocks = 0;
    CExtraTimeStore* m_pExtraStore = nullptr;

private:
    // Today's extra time and locks from extra.tim (none for another date).
    void LoadExtra(TIMESECS tNow);
    void SaveExtra();
    // Reloads both stores and points m_pTodayPrj at today's day of the user's week; returns now.
    TIMESECS LoadToday(const std::string& strUser, CPrjStore& prjStore, CUsageStore& usageStore);
    // Runs one event on the current state, then frees the states it replaced.
    template <typename F>
    void Dispatch(F&& event);

    // Calendar arithmetic kept between ticks, because its answers are the same all day: the day
    // of m_tSession, and the period's bounds on the day last asked about.
    mutable CLocalDay m_sessionDay;
    struct PERIOD_TIMES {
        CLocalDay day;
        int nStartHour = -1, nStartMinute = -1, nEndHour = -1, nEndMinute = -1;
        TIMESECS tDay = -1, tStart = 0, tEnd = 0;
    };
    mutable PERIOD_TIMES m_periodTimes;

    std::unique_ptr<CUsageState> m_pState;
    // States replaced while an event is running; freed when the outermost event returns.
    std::vector<std::unique_ptr<CUsageState>> m_retired;
    int m_nDepth = 0;
};
