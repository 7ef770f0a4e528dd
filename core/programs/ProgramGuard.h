// The limits per program during a child's login: each second the program whose window is in front
// is counted against its rule's minutes of the day; one minute before they run out the child is
// warned; at zero its windows are asked to close and a process still running 10 seconds later is
// ended; a blocked program, or one with no minutes left, is ended as soon as it is seen. A program
// that counts outside the day's limits (homework) adds nothing to the day's use and is let through
// the lock while the day and the hour allow it.
//
// What it costs each second is the process in front and its program file's path (a program is of
// use to the child only in front), and the processes that opened a window since the last second,
// which Windows reports as it happens: a program started behind the others is seen too. The list
// of every process, which is dear with hundreds running, is taken at the login, every 30 seconds
// (for programs without a window), when a program's time runs out (to close all its copies) and
// every 5 seconds while the lock lets homework through. Before a process is closed, ended or let through, its path is
// checked again, so that an id Windows gave to another program since is never acted on.
#pragma once

#include <cstdint>
#include <string>
#include <map>
#include <vector>

#include "core/rules/LocalDay.h"
#include "core/seams/Processes.h"
#include "core/store/ProgramRuleStore.h"

class CProgramUseStore;
class CUsageContext;
struct PROGRAM_USE;

// What the child is told in the notice's style: a program about to be closed, with its seconds
// left, or a program just closed or ended (nSeconds 0). Empty text: nothing.
struct PROGRAM_NOTICE {
    std::string strText;
    int nSeconds = -1;
    bool operator==(const PROGRAM_NOTICE&) const = default;
};

class CProgramGuard {
public:
    static constexpr int kWarnSeconds = 60;
    static constexpr std::int64_t kCloseGraceMs = 10000;
    static constexpr std::int64_t kReasonShownMs = 8000;
    static constexpr std::int64_t kLookAroundMs = 30000;
    static constexpr std::int64_t kLockedLookAroundMs = 5000;

    // The stores outlive the guard (the data store's).
    CProgramGuard(CProgramRuleStore& rules, CProgramUseStore& use);

    // A child's login: the child's rules and the day's use per program are read anew.
    void Start(const std::string& strUser);
    // One tick of the child's login, nSeconds of running time after the last: counts the program
    // in front, closes and ends what its rule no longer allows, and writes the day's use once a
    // minute of counting. Returns the seconds that count as the day's use: none while a program
    // that counts outside the day's limits is in front of a computer in use.
    int Tick(int nSeconds, const CUsageContext& context);
    // Writes the day's use per program (with its copy); false when the file could not be written.
    bool Save();

    // The processes the lock lets through now: those of the programs that count outside the day's
    // limits (at the place the parent chose them from, when the rule knows it), while the computer
    // is locked on a day and at an hour they may be used, and their own minutes last.
    std::vector<std::uint32_t> LetThrough(const CUsageContext& context);
    // The programs that count outside the day's limits which the child may open now, from behind
    // the lock (the desktop is covered): those the parent picked from the running programs, whose
    // place is known, when the lock would let them through.
    std::vector<PROGRAM_RULE> HomeworkToOpen(const CUsageContext& context) const;
    // Opens such a program (through the system actions); the next second looks at every process,
    // so that its windows are let through at once. False when it could not be started.
    bool OpenHomework(const PROGRAM_RULE& rule);
    // For the status window: the program in front with its time ("" when no rule covers it), or
    // why a program was just closed or ended.
    std::string StatusLine() const;
    PROGRAM_NOTICE Notice() const;

    // Seconds the program was in front today.
    int UsedSecs(const std::string& strProgram) const;
    // Seconds of the program left today; -1 when it has no limit today.
    int SecsLeft(const std::string& strProgram) const;
    const std::vector<PROGRAM_RULE>& Rules() const { return m_rules; }

private:
    // What the guard knows of a running process, kept while it runs.
    struct KNOWN {
        std::string strImage;
        std::string strPath;
        std::uint64_t nSeen = 0;     // the last look at every process that saw it
        int nRule = -1;              // its rule, -1 for none
        bool bGenuine = false;       // at the place its rule names (or the rule names none)
        bool bWasAllowed = false;    // seen while its rule allowed it
        std::int64_t nCloseAtMs = -1;  // asked to close then (running clock)
        bool bEnded = false;
    };

    void NewDay(TIMESECS tNow);
    // Lists every process and learns who each new one is; forgets the ones gone.
    void Survey();
    // Learns who the process in front is, unless it is known under the same path.
    void LookAtFront();
    // Learns who the processes that opened a window since the last second are.
    void LookAtNewWindows();
    // Learns who a process is, unless it is known under the same path.
    void Learn(std::uint32_t nPid);
    KNOWN Identify(std::uint32_t nPid, const std::string& strImage, const std::string& strPath) const;
    // The process still runs the program it was known as (its id was not given to another since).
    bool IsStill(std::uint32_t nPid, const KNOWN& known) const;
    int FindRule(const std::string& strProgram) const;
    void Enforce(std::int64_t nNowMs);
    void AskToClose(std::uint32_t nPid, KNOWN& known, std::int64_t nNowMs);
    void EndAtStart(std::uint32_t nPid, KNOWN& known, std::int64_t nNowMs);
    // False when the system refused.
    bool EndProcess(std::uint32_t nPid, KNOWN& known);
    void Log(const PROGRAM_RULE& rule, const std::string& strWhat);
    void Tell(const std::string& strReason, std::int64_t nNowMs);
    PROGRAM_USE& Use(const PROGRAM_RULE& rule) const;
    // Seconds of the rule's program left today (0 when blocked or used up); -1 for no limit.
    int SecsLeftOf(const PROGRAM_RULE& rule) const;
    std::string UsedText(const PROGRAM_RULE& rule) const;
    const KNOWN* FrontKnown() const;
    bool HasHomework() const;
    // The lock may let homework through now: the computer is locked on a day with use, within the
    // permitted hours (or extra time).
    bool MayLetThrough(const CUsageContext& context) const;

    CProgramRuleStore& m_ruleStore;
    CProgramUseStore& m_useStore;
    std::string m_strUser;
    std::vector<PROGRAM_RULE> m_rules;
    std::map<std::uint32_t, KNOWN> m_known;  // by process id, so that endings come in a stable order
    std::vector<PROCESS_ENTRY> m_processes;
    std::vector<std::uint32_t> m_newWindowProcesses;
    std::uint64_t m_nSurvey = 0;
    std::int64_t m_nSurveyMs = 0;
    std::string m_strWindowsFolder;
    std::string m_strOwnFolder;
    std::uint32_t m_nOwnPid = 0;
    CLocalDay m_day;
    int m_nWeekday = 0;
    std::int32_t m_nDate = 0;
    std::uint32_t m_nFrontPid = 0;
    int m_nUnsavedSecs = 0;
    std::string m_strReason;
    std::int64_t m_nReasonUntilMs = -1;
    std::int64_t m_nNowMs = 0;
};
