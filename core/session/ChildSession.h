// A child's session from the login to its end: the use meter, the usage context, the save every
// 60 counted seconds, the new day, the day closed for the history, extra time and the limits per
// program. It runs on the clock and process seams alone; the status window shows it and forwards
// its buttons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/programs/ProgramGuard.h"
#include "core/rules/UsageContext.h"
#include "core/rules/UseMeter.h"

class CDataStore;

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
    // One tick of the window's timer: takes the seconds the running clock moved (a stalled queue
    // counts them all, a sleep nothing), moves to the new day's arrangement once midnight has
    // passed, lets the limits per program count them first (the day does not count the seconds a
    // program that counts outside its limits was in front), closes the ended day for the history,
    // and saves once 60 seconds were counted since the last save (not while the new day waits
    // for its start).
    // mini is the mini window as it is now, kept with the usage.
    TICK Tick(const MINI_PLACE& mini);
    // Writes the day's usage (use.sta, extra.tim, programs.use) now: at the login, the end of the
    // login, when Windows ends its session. False when a file could not be written.
    bool Save(const MINI_PLACE& mini);

    // The buttons. "Start to use" after midnight starts the new day afresh, which chooses its
    // state; otherwise the state decides.
    void StartToUse();
    void TakeRest();
    // Extra time granted by the Administrator: a child locked by the total or the period is let
    // in at once. Saved at once; false when that failed.
    bool GrantExtra(int nSeconds, const MINI_PLACE& mini);

    // The limits per program: the processes the lock lets through now (homework, when the day and
    // the hour allow it), the homework the child may open from behind the lock, and opening one.
    std::vector<std::uint32_t> LetThrough();
    std::vector<PROGRAM_RULE> HomeworkToOpen() const;
    bool OpenHomework(const PROGRAM_RULE& rule);
    // What the window shows of them: the program in front with its time, and the notice.
    const CProgramGuard& Programs() const { return m_programs; }

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
    CProgramGuard m_programs;
};
