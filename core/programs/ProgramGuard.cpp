// The limits per program: counting the program in front, warning, closing and ending.
#include "core/programs/ProgramGuard.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "core/programs/ProgramNames.h"
#include "core/rules/DayHistory.h"
#include "core/rules/ExtraTime.h"
#include "core/rules/UsageContext.h"
#include "core/rules/UsageState.h"
#include "core/seams/SystemActions.h"
#include "core/store/EventLog.h"
#include "core/store/ProgramUseStore.h"
#include "core/texts/Duration.h"

namespace {

std::string ClockText(int nSeconds) {
    char sz[32];
    std::snprintf(sz, sizeof sz, "%.2d:%.2d:%.2d", nSeconds / 3600, nSeconds / 60 % 60, nSeconds % 60);
    return sz;
}

std::string MinutesText(int nSeconds) {
    const int nMinutes = nSeconds / 60;
    return std::to_string(nMinutes) + (nMinutes == 1 ? " minute" : " minutes");
}

}  // namespace

CProgramGuard::CProgramGuard(CProgramRuleStore& rules, CProgramUseStore& use) : m_ruleStore(rules), m_useStore(use) {}

void CProgramGuard::Start(const std::string& strUser) {
    m_strUser = strUser;
    IProcesses& processes = CProcesses::Get();
    m_strWindowsFolder = processes.WindowsFolder();
    m_nOwnPid = processes.OwnProcess();
    m_strOwnFolder = FolderOfPath(processes.PathOf(m_nOwnPid));
    m_ruleStore.Load();
    m_rules.clear();
    // A rule the editor would refuse (a file changed by hand) is not followed.
    for (const PROGRAM_RULE& rule : m_ruleStore.ForUser(strUser))
        if (ProgramRefusal(rule.strProgram, rule.strPath, m_strWindowsFolder).empty()) m_rules.push_back(rule);
    m_useStore.Load();
    m_known.clear();
    m_day = CLocalDay();
    m_nFrontPid = 0;
    m_nUnsavedSecs = 0;
    m_strReason.clear();
    m_nReasonUntilMs = -1;
    NewDay(CClock::Now());
    // Who runs is known from the start: a blocked program started before the login is ended at
    // once, and the lock lets homework through at the login.
    m_nNowMs = CClock::RunningMs();
    if (!m_rules.empty()) {
        // The windows opened before now belong to processes the look at every process just saw.
        CProcesses::Get().TakeNewWindowProcesses(m_newWindowProcesses);
        Survey();
    }
}

void CProgramGuard::NewDay(TIMESECS tNow) {
    m_day.Set(tNow);
    m_nWeekday = CClock::ToLocal(tNow).nWeekday;
    m_nDate = DateKey(tNow);
    // The days that ended go to the history; the new day counts from nothing.
    CDayHistory::CloseProgramDays(m_ruleStore, m_useStore, m_nDate, m_strUser);
}

int CProgramGuard::Tick(int nSeconds, const CUsageContext& context) {
    if (m_strUser.empty()) return nSeconds;
    m_nNowMs = CClock::RunningMs();
    // A child without rules costs no look at the processes.
    if (m_rules.empty()) {
        if (const TIMESECS tNow = CClock::Now(); !m_day.Contains(tNow)) NewDay(tNow);
        return nSeconds;
    }
    if (m_nNowMs - m_nSurveyMs >= kLookAroundMs) Survey();
    LookAtFront();
    LookAtNewWindows();
    int nDaySeconds = nSeconds;
    // The seconds that passed belong to the day they passed in, as the day's use does: a tick at
    // midnight still counts for the day that ends.
    // (A program without time left is ended below, not counted.)
    if (const KNOWN* pFront = FrontKnown(); pFront && nSeconds > 0 && SecsLeftOf(m_rules[static_cast<std::size_t>(pFront->nRule)]) != 0) {
        const PROGRAM_RULE& rule = m_rules[static_cast<std::size_t>(pFront->nRule)];
        Use(rule).nUsedSecs += nSeconds;
        m_nUnsavedSecs += nSeconds;
        // Homework in front of a computer in use: the day's total does not move.
        if (rule.CountsOutside() && pFront->bGenuine && context.GetLockKind() == LOCK_IN_USE) nDaySeconds = 0;
        // Its time just ran out: every copy of it is found now, to be closed with it.
        if (SecsLeftOf(rule) == 0) Survey();
    }
    if (const TIMESECS tNow = CClock::Now(); !m_day.Contains(tNow)) {
        Save();
        NewDay(tNow);
    }
    Enforce(m_nNowMs);
    if (m_nUnsavedSecs >= 60) Save();
    return nDaySeconds;
}

bool CProgramGuard::Save() {
    m_nUnsavedSecs = 0;
    return m_useStore.Save();
}

void CProgramGuard::Survey() {
    ++m_nSurvey;
    m_nSurveyMs = m_nNowMs;
    CProcesses::Get().List(m_processes);
    for (const PROCESS_ENTRY& process : m_processes) {
        auto it = m_known.find(process.nPid);
        // A new process, or an id the system gave to another program since.
        if (it == m_known.end() || !SameProgramName(it->second.strImage, process.strImage))
            it = m_known.insert_or_assign(process.nPid, Identify(process.nPid, process.strImage,
                                                                  CProcesses::Get().PathOf(process.nPid)))
                     .first;
        it->second.nSeen = m_nSurvey;
    }
    std::erase_if(m_known, [this](const auto& entry) { return entry.second.nSeen != m_nSurvey; });
}

void CProgramGuard::LookAtFront() {
    m_nFrontPid = CProcesses::Get().ForegroundProcess();
    if (m_nFrontPid != 0) Learn(m_nFrontPid);
}

void CProgramGuard::LookAtNewWindows() {
    CProcesses::Get().TakeNewWindowProcesses(m_newWindowProcesses);
    for (const std::uint32_t nPid : m_newWindowProcesses)
        if (nPid != m_nFrontPid) Learn(nPid);
}

void CProgramGuard::Learn(std::uint32_t nPid) {
    const std::string strPath = CProcesses::Get().PathOf(nPid);
    const auto it = m_known.find(nPid);
    // Known under this path (or unreadable both times): nothing new. A path that cannot be read
    // leaves the name the last look at every process gave; a process gone since is not learnt.
    if (it != m_known.end() && (SamePath(it->second.strPath, strPath) || strPath.empty())) return;
    if (it == m_known.end() && strPath.empty() && nPid != m_nFrontPid) return;
    KNOWN known = Identify(nPid, FileNameOfPath(strPath), strPath);
    known.nSeen = m_nSurvey;
    m_known.insert_or_assign(nPid, std::move(known));
}

CProgramGuard::KNOWN CProgramGuard::Identify(std::uint32_t nPid, const std::string& strImage,
                                             const std::string& strPath) const {
    KNOWN known;
    known.strImage = strImage;
    known.strPath = strPath;
    if (nPid == m_nOwnPid || IsProtectedProcess(strPath, m_strWindowsFolder, m_strOwnFolder)) return known;
    const int nByImage = FindRule(strImage);
    // A renamed copy keeps the name its version information gives: when that names a rule, the
    // copy is that program, unless its new name is a stricter rule's (not one outside the limits).
    const std::string strOriginal = strPath.empty() ? std::string() : CProcesses::Get().OriginalNameOf(strPath);
    const int nByOriginal = strOriginal.empty() || SameProgramName(strOriginal, strImage) ? -1 : FindRule(strOriginal);
    known.nRule = nByOriginal >= 0 && (nByImage < 0 || m_rules[static_cast<std::size_t>(nByImage)].CountsOutside())
                      ? nByOriginal
                      : nByImage;
    if (known.nRule >= 0) {
        const PROGRAM_RULE& rule = m_rules[static_cast<std::size_t>(known.nRule)];
        known.bGenuine = rule.strPath.empty() || SamePath(rule.strPath, strPath);
    }
    return known;
}

bool CProgramGuard::IsStill(std::uint32_t nPid, const KNOWN& known) const {
    const std::string strPath = CProcesses::Get().PathOf(nPid);
    return known.strPath.empty() ? SameProgramName(FileNameOfPath(strPath), known.strImage) || strPath.empty()
                                 : SamePath(strPath, known.strPath);
}

int CProgramGuard::FindRule(const std::string& strProgram) const {
    for (std::size_t n = 0; n < m_rules.size(); ++n)
        if (SameProgramName(m_rules[n].strProgram, strProgram)) return static_cast<int>(n);
    return -1;
}

void CProgramGuard::Enforce(std::int64_t nNowMs) {
    for (auto& [nPid, known] : m_known) {
        if (known.nRule < 0 || known.bEnded) continue;
        const PROGRAM_RULE& rule = m_rules[static_cast<std::size_t>(known.nRule)];
        const bool bAllowed = SecsLeftOf(rule) != 0;
        if (known.nCloseAtMs < 0 && bAllowed) {
            known.bWasAllowed = true;
            continue;
        }
        if (known.nCloseAtMs >= 0 && nNowMs - known.nCloseAtMs < kCloseGraceMs) continue;
        // An action: first the check that the id is still this program's.
        if (!IsStill(nPid, known)) {
            known.nRule = -1;
            continue;
        }
        if (known.nCloseAtMs >= 0) {
            const std::string strWhy = "it did not close within " + std::to_string(kCloseGraceMs / 1000) + " seconds";
            Log(rule, EndProcess(nPid, known) ? "was ended: " + strWhy : "could not be ended (" + strWhy + ")");
        } else if (known.bWasAllowed) {
            // It ran while its minutes lasted: asked to close like a person would.
            AskToClose(nPid, known, nNowMs);
        } else {
            // Started once they were gone (or blocked): ended at once, before it is of any use.
            EndAtStart(nPid, known, nNowMs);
        }
    }
}

void CProgramGuard::AskToClose(std::uint32_t nPid, KNOWN& known, std::int64_t nNowMs) {
    const PROGRAM_RULE& rule = m_rules[static_cast<std::size_t>(known.nRule)];
    CProcesses::Get().CloseWindows(nPid);
    known.nCloseAtMs = nNowMs;
    ++Use(rule).nEndings;
    Log(rule, "was asked to close: its " + MinutesText(rule.AllowedSecs(m_nWeekday)) + " today are used up");
    Tell(rule.strProgram + " was closed: its time today is up", nNowMs);
}

void CProgramGuard::EndAtStart(std::uint32_t nPid, KNOWN& known, std::int64_t nNowMs) {
    const PROGRAM_RULE& rule = m_rules[static_cast<std::size_t>(known.nRule)];
    const bool bEnded = EndProcess(nPid, known);
    ++Use(rule).nEndings;
    const bool bBlocked = rule.AllowedSecs(m_nWeekday) == 0;
    const std::string strWhy = bBlocked ? "it is not allowed today"
                                        : "its " + MinutesText(rule.AllowedSecs(m_nWeekday)) + " today are used up";
    Log(rule, bEnded ? "was ended at its start: " + strWhy : "could not be ended at its start (" + strWhy + ")");
    Tell(rule.strProgram + (bBlocked ? " is not allowed today" : " has no time left today"), nNowMs);
}

bool CProgramGuard::EndProcess(std::uint32_t nPid, KNOWN& known) {
    // Ended once: a process Windows will not let go of (one run as administrator, in a standard
    // account) is not tried, and logged, again every second.
    known.bEnded = true;
    return CProcesses::Get().End(nPid);
}

void CProgramGuard::Log(const PROGRAM_RULE& rule, const std::string& strWhat) {
    CEventLog::Append(CEventLog::kProgramEnded, m_strUser, rule.strProgram + " " + strWhat + " (" + UsedText(rule) + ")");
}

void CProgramGuard::Tell(const std::string& strReason, std::int64_t nNowMs) {
    m_strReason = strReason;
    m_nReasonUntilMs = nNowMs + kReasonShownMs;
}

PROGRAM_USE& CProgramGuard::Use(const PROGRAM_RULE& rule) const {
    return m_useStore.ForDate(m_strUser, rule.strProgram, m_nDate);
}

int CProgramGuard::SecsLeftOf(const PROGRAM_RULE& rule) const {
    const std::int32_t nAllowed = rule.AllowedSecs(m_nWeekday);
    if (nAllowed < 0) return -1;
    return std::max(0, nAllowed - Use(rule).nUsedSecs);
}

std::string CProgramGuard::UsedText(const PROGRAM_RULE& rule) const {
    return MinutesText(Use(rule).nUsedSecs) + " used today";
}

const CProgramGuard::KNOWN* CProgramGuard::FrontKnown() const {
    if (m_nFrontPid == 0) return nullptr;
    const auto it = m_known.find(m_nFrontPid);
    // A program asked to close has had its time: its last seconds in front count no more.
    return it != m_known.end() && it->second.nRule >= 0 && !it->second.bEnded && it->second.nCloseAtMs < 0
               ? &it->second
               : nullptr;
}

bool CProgramGuard::HasHomework() const {
    return std::any_of(m_rules.begin(), m_rules.end(), [](const PROGRAM_RULE& rule) { return rule.CountsOutside(); });
}

bool CProgramGuard::MayLetThrough(const CUsageContext& context) const {
    if (!HasHomework() || context.GetLockKind() == LOCK_IN_USE || !context.TodayPrj()) return false;
    // Never on a day without use, never outside the permitted hours (unless extra time was given).
    return context.TodayPrj()->m_bForbid == 0 && context.GetStateId() != STATE_FORBID_DAY &&
           !context.IsPeriodLocked(CClock::Now());
}

std::vector<std::uint32_t> CProgramGuard::LetThrough(const CUsageContext& context) {
    std::vector<std::uint32_t> pids;
    if (!MayLetThrough(context)) return pids;
    // Homework started behind the lock is found within seconds.
    m_nNowMs = CClock::RunningMs();
    if (m_nNowMs - m_nSurveyMs >= kLockedLookAroundMs) Survey();
    for (const auto& [nPid, known] : m_known) {
        if (known.nRule < 0) continue;
        const PROGRAM_RULE& rule = m_rules[static_cast<std::size_t>(known.nRule)];
        if (rule.CountsOutside() && known.bGenuine && !known.bEnded && known.nCloseAtMs < 0 && SecsLeftOf(rule) != 0 &&
            IsStill(nPid, known))
            pids.push_back(nPid);
    }
    return pids;
}

std::vector<PROGRAM_RULE> CProgramGuard::HomeworkToOpen(const CUsageContext& context) const {
    std::vector<PROGRAM_RULE> rules;
    if (!MayLetThrough(context)) return rules;
    for (const PROGRAM_RULE& rule : m_rules)
        if (rule.CountsOutside() && !rule.strPath.empty() && SecsLeftOf(rule) != 0) rules.push_back(rule);
    return rules;
}

bool CProgramGuard::OpenHomework(const PROGRAM_RULE& rule) {
    if (!CSystem::Get().StartProcess(rule.strPath, "\"" + rule.strPath + "\"")) return false;
    m_nSurveyMs = std::numeric_limits<std::int64_t>::min() / 2;
    return true;
}

std::string CProgramGuard::StatusLine() const {
    if (const KNOWN* pFront = FrontKnown()) {
        const PROGRAM_RULE& rule = m_rules[static_cast<std::size_t>(pFront->nRule)];
        const int nLeft = SecsLeftOf(rule);
        if (nLeft > 0) return rule.strProgram + ": " + ClockText(nLeft) + " left today";
        if (nLeft < 0 && rule.CountsOutside() && pFront->bGenuine)
            return rule.strProgram + ": not counted in today's total";
        if (nLeft < 0) return rule.strProgram + ": no limit today, " + ClockText(Use(rule).nUsedSecs) + " used";
    }
    return m_nNowMs < m_nReasonUntilMs ? m_strReason + "." : std::string();
}

PROGRAM_NOTICE CProgramGuard::Notice() const {
    if (const KNOWN* pFront = FrontKnown()) {
        const PROGRAM_RULE& rule = m_rules[static_cast<std::size_t>(pFront->nRule)];
        const int nLeft = SecsLeftOf(rule);
        if (nLeft > 0 && nLeft <= kWarnSeconds)
            return {rule.strProgram + " will be closed after " + FormatSeconds(nLeft), nLeft};
    }
    if (m_nNowMs < m_nReasonUntilMs) return {m_strReason, 0};
    return {};
}

int CProgramGuard::UsedSecs(const std::string& strProgram) const {
    const int nRule = FindRule(strProgram);
    return nRule < 0 ? 0 : Use(m_rules[static_cast<std::size_t>(nRule)]).nUsedSecs;
}

int CProgramGuard::SecsLeft(const std::string& strProgram) const {
    const int nRule = FindRule(strProgram);
    return nRule < 0 ? -1 : SecsLeftOf(m_rules[static_cast<std::size_t>(nRule)]);
}
