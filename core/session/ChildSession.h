// A child's session from the login to its end: the use meter, the usage context, the save every
// 60 counted seconds, the new day, the day closed for the history and extra time. It runs on the
// clock seam alone; the status window shows it and forwards its buttons.
#pragma once

#include <string>
#include <vector>

#include "core/rules/UsageContext.h"
#include "core/rules/UseMeter.h"

class CDataStore;
class ISessionParticipant;

class CChildSession {
public:
    using MINI_PLACE = CUsageContext::MINI_PLACE;

    // Seconds of use between two saves while the child is logged in.
    static constexpr int kSaveEverySecs = 60;

    // How a step went for the files: nothing was written, all was written, or a file could not
    // be written (the data stays in memory and the next save writes it again).
    enum class SAVE { NONE, SAVED, FAILED };

    // What a tick did, for the window to show.
    struct TICK {
        int nSeconds = 0;     // seconds counted: the running clock's, not the timer messages'
        bool bNewDay = false; // reloaded for a new day: another arrangement and weekday
        SAVE save = SAVE::NONE;
    };

    // The store outlives the session.
    CChildSession(CDataStore& store, std::string strUser);

    // The login: days that ended since the last start go to the history, then the day starts
    // afresh, or resumes what use.sta holds when the child is in the active-user list (the
    // program was restarted, or the child logged in earlier today); the child joins that list,
    // which is saved. The use meter starts here. False when the list or a day's history line could
    // not be written.
    bool Start();
    // One tick of the window's timer: counts the seconds the running clock moved (a stalled
    // queue counts them all, a sleep nothing), moves to the new day's arrangement once midnight
    // has passed, closes the ended day for the history, tells the participants, and saves once
    // 60 seconds were counted since the last save (not while the new day waits for its start).
    // mini is the mini window as it is now, kept with the usage.
    TICK Tick(const MINI_PLACE& mini);
    // Writes the day's usage (use.sta, extra.tim) now: at the login, the end of the login, when
    // Windows ends its session. False when a file could not be written.
    bool Save(const MINI_PLACE& mini);

    // The buttons. "Start to use" after midnight starts the new day afresh, which chooses its
    // state; otherwise the state decides.
    void StartToUse();
    void TakeRest();
    // Extra time granted by the Administrator: a child locked by the total or the period is let
    // in at once. Saved at once; false when that failed.
    bool GrantExtra(int nSeconds, const MINI_PLACE& mini);

    // Another per-second participant; it must leave before it is destroyed.
    void Join(ISessionParticipant* pParticipant);
    void Leave(ISessionParticipant* pParticipant);

    // The session's answers.
    // The computer may be used now (the state is one of use).
    bool MayUseNow() const;
    // The day's total is used up and no extra time is left.
    bool IsTotalUsedUp() const;
    // Now lies inside today's permitted period (always, when the day has none).
    bool IsInsidePeriod() const;

    const std::string& User() const { return m_strUser; }
    // What the window shows: the texts, the counters, today's arrangement.
    const CUsageContext& Context() const { return m_context; }

private:
    void AddActiveUser();

    CDataStore& m_store;
    std::string m_strUser;
    CUsageContext m_context;
    CUseMeter m_useMeter;
    int m_nUnsavedSecs = 0;
    std::vector<ISessionParticipant*> m_participants;
};
