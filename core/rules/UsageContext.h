// The logged-in child's usage for the day: counters, today's arrangement, and the current usage
// state, which decides tick by tick whether the computer may be used. Its snapshot of the day is
// kept in the usage store (use.sta) as a plain record between logins and restarts.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/rules/LocalDay.h"
#include "core/rules/StateTexts.h"
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
    // A day of the arrangement given, begun at tNow with nUsedSecs used already: the countdowns
    // are computed from it, no rest runs and nothing is read or written (the editor's preview).
    void StartDay(const CDayPrj& today, TIMESECS tNow, std::int32_t nUsedSecs);
    // Snapshots the context into its user's element of the store and writes use.sta, and the
    // day's extra time to extra.tim when the context has that store. False when either file could
    // not be written: the data stays in memory and the next save writes it again.
    bool Save(CUsageStore& usageStore);

    // Starts the machine over: the undecided state chooses the real one.
    void ResetState();
    // Rebuilds the state stored in the snapshot and lets it account for the time since the last
    // save. An id no state has (a damaged file) starts over with ResetState.
    void RecreateState();
    // Makes pState current and records its id. Called by the states from inside their handlers;
    // the replaced state object lives on until the event that is running returns.
    void ChangeState(std::unique_ptr<CUsageState> pState);

    // Events from the session.
    void OnTimer(int nSeconds);
    void OnTakeRest();
    void OnStartToUse();

    // What the windows show of the current state (none before a start); and what the screen does
    // (LOCK_*), -1 before a start.
    STATE_TEXTS Texts() const;
    int GetLockKind() const;
    // Id of the current state; -1 when there is none yet.
    int GetStateId() const;

    // What the day holds so far.
    const std::string& User() const { return m_strUser; }
    std::int32_t UsedSecs() const { return m_nUsedSecs; }
    // -1 where the rule is off (or, for the rest, when none runs).
    std::int32_t TotalSecsLeft() const { return m_nTotalSecsLeft; }
    std::int32_t UseSecsBeforeRest() const { return m_nUseSecsBeforeRest; }
    std::int32_t RestSecsLeft() const { return m_nRestSecsLeft; }
    TIMESECS LastSave() const { return m_tLastSave; }
    // The moment of the last start: its local date is the day the context holds.
    TIMESECS SessionTime() const { return m_tSession; }
    // Today's arrangement as the last start loaded it (a copy, so a reload of prj.nam by anyone
    // leaves it whole); null before the first start.
    const CDayPrj* TodayPrj() const { return m_today ? &*m_today : nullptr; }
    // The same for the states, which run only after a start.
    const CDayPrj& Today() const { return *m_today; }
    // The arrangement as it was at the last save.
    const CDayPrj& PrjCopy() const { return m_prjCopy; }
    std::int32_t ExtraSecsLeft() const { return m_nExtraSecsLeft; }
    std::int32_t ExtraGrantedSecs() const { return m_nExtraGrantedSecs; }
    // Locks by a rule while the child was using the computer today.
    std::int32_t Locks() const { return m_nLocks; }

    // The mini window's place and whether it is shown, kept with the usage.
    struct MINI_PLACE {
        std::int32_t bShow = 1;
        std::int32_t nX = MINI_UNSET;
        std::int32_t nY = MINI_UNSET;
        bool operator==(const MINI_PLACE&) const = default;
    };
    MINI_PLACE Mini() const { return m_mini; }
    void SetMini(const MINI_PLACE& mini) { m_mini = mini; }

    // Where today's extra time and locks are kept (extra.tim); without it they live in memory.
    void UseExtraStore(CExtraTimeStore* pStore) { m_pExtraStore = pStore; }

    // What the states do to the counters.
    // nSeconds of use: counted, and taken from the total and the interval before the next rest.
    void CountUse(int nSeconds);
    // A mandatory rest begins with the day's rest length.
    void BeginRest();
    // nSeconds of a running rest passed (a whole interval of use is there again afterwards).
    void CountRest(TIMESECS nSeconds);
    // Time spent not using the computer gives back use before the next rest, up to one interval.
    void CreditRest(TIMESECS nSeconds);
    // The countdowns computed anew from today's arrangement, keeping the seconds used; a running
    // rest is dropped.
    void Recount();

    // Extra time granted on the spot for today: usable past the day's total and past the end of
    // the period (rests still apply), counted down only by such use. A grant while locked by the
    // total or the period lets the child in at once; it is kept at the next Save.
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
    // The same test between two day arrangements (a record's copy and the arrangement in force).
    static bool IsSameArrangement(const CDayPrj& a, const CDayPrj& b);
    void SnapshotPrj();

    // The stored fields as a use.sta record, and the record's fields taken over (user included):
    // the one place where the context and its record meet.
    USAGE_RECORD ToRecord() const;
    void TakeRecord(const USAGE_RECORD& record);

    // Seconds of use a day arrangement allows (its total limit).
    static std::int32_t TotalAllowance(const CDayPrj& day);

private:
    std::string m_strUser;
    std::int32_t m_nUsedSecs = 0;
    std::int32_t m_nTotalSecsLeft = -1;
    std::int32_t m_nUseSecsBeforeRest = -1;
    std::int32_t m_nRestSecsLeft = -1;
    TIMESECS m_tLastSave = 0;
    CDayPrj m_prjCopy;
    std::int32_t m_nStateId = -1;
    std::optional<CDayPrj> m_today;
    TIMESECS m_tSession = 0;
    MINI_PLACE m_mini;
    // Today's extra time and locks by a rule, kept in extra.tim when the store is given.
    std::int32_t m_nExtraSecsLeft = 0;
    std::int32_t m_nExtraGrantedSecs = 0;
    std::int32_t m_nLocks = 0;
    CExtraTimeStore* m_pExtraStore = nullptr;

    // Today's extra time and locks from extra.tim (none for another date).
    void LoadExtra(TIMESECS tNow);
    bool SaveExtra();
    // Reloads both stores and copies today's day of the user's week; returns now.
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
