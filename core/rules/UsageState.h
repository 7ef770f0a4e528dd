// Base of the usage states. One state object is current at a time, owned by the context; every
// event goes to it, and a state moves the machine by handing the context a new state.
#pragma once

#include <memory>
#include <string>

#include "core/rules/StateTexts.h"
#include "core/seams/Clock.h"

class CUsageContext;

// State ids, as kept in use.sta.
enum : int {
    STATE_UNDIFIED = -1,
    STATE_ALLOWED = 2,
    STATE_TOTAL_USED_UP = 10,
    STATE_FORBID_DAY = 12,
    STATE_OUT_OF_PERIOD = 14,
    STATE_PERIOD_ARRIVED = 16,
    STATE_FORCED_REST = 18,
    STATE_REST_DONE = 20,
    STATE_USER_LOCKED = 22,
    STATE_NEW_DAY = 24,
    STATE_ONLINE_PRJ_CHANGED = 26,
};

// What the screen does in a state.
enum : int {
    LOCK_BY_RULE = 1,      // locked; "Start to use" cannot unlock it
    LOCK_UNTIL_START = 2,  // locked until the user presses "Start to use"
    LOCK_IN_USE = 3,       // unlocked
};

class CUsageState {
public:
    // The state's id (STATE_*) and what the screen does in it (LOCK_*).
    CUsageState(int nId, int nLockKind) : m_nId(nId), m_nLockKind(nLockKind) {}
    CUsageState(const CUsageState&) = delete;
    CUsageState& operator=(const CUsageState&) = delete;
    virtual ~CUsageState() = default;

    // The context started over with this state; it must choose the real one.
    virtual void OnEnter(CUsageContext& context);
    // Rebuilt from the stored id at a login on the day of the last save; the time from the last
    // save to this login passed uncounted.
    virtual void OnResume(CUsageContext& context);
    virtual void OnTimer(CUsageContext& context, int nSeconds);
    virtual void OnTakeRest(CUsageContext& context);
    virtual void OnStartToUse(CUsageContext& context);

    // What the windows show in this state.
    virtual STATE_TEXTS Texts(const CUsageContext& context) const = 0;

    int GetId() const { return m_nId; }
    int GetLockKind() const { return m_nLockKind; }

    // A new state object for a stored id, or null for an id no state has.
    static std::unique_ptr<CUsageState> Create(int nId);

protected:
    // The "logic is wrong" texts (code page 936) of a state that should never be asked for texts.
    static STATE_TEXTS DiagnosticTexts(const char* pszClass);
    // The texts of the states that wait for "Start to use": the headline, then the button's hint.
    static STATE_TEXTS UntilStartTexts(std::string strHeadline);

    // The seconds between the last save and this login, never negative (a clock set back).
    static TIMESECS ResumeGap(const CUsageContext& context);
    // Resume steps shared by most states; each returns true when it changed the state.
    static bool ResumeNewDay(CUsageContext& context);
    static bool ResumeChanged(CUsageContext& context);
    // A tick of a locked state: the new day, then the end of the period, each moves to its state;
    // true when one of them did.
    static bool TimerNewDayOrPeriod(CUsageContext& context);
    // Chooses the state that fits today's arrangement and counters.
    static void Decide(CUsageContext& context);

private:
    int m_nId;
    int m_nLockKind;
};
