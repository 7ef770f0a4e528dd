// The child's session: the login, the tick, the saves and the buttons.
#include "core/session/ChildSession.h"

#include <algorithm>

#include "core/rules/DayHistory.h"
#include "core/rules/UsageState.h"
#include "core/store/DataStore.h"

namespace {

// A failure anywhere in a step is the step's result.
CChildSession::SAVE Worse(CChildSession::SAVE a, CChildSession::SAVE b) { return std::max(a, b); }

CChildSession::SAVE SaveOf(bool bSaved) { return bSaved ? CChildSession::SAVE::SAVED : CChildSession::SAVE::FAILED; }

}  // namespace

CChildSession::CChildSession(CDataStore& store, std::string strUser)
    : m_store(store),
      m_strUser(std::move(strUser)),
      m_context(m_strUser),
      m_programs(store.m_programRules, store.m_programUse) {
    m_context.UseExtraStore(&m_store.m_extraTime);
}

bool CChildSession::Start() {
    // Days that ended since the last start go to the history before a new day's start replaces
    // what use.sta holds of them.
    const bool bHistoryWritten = CDayHistory::CloseEndedDays(m_store, CClock::Now());
    const bool bActive = m_store.m_activeUsers.Find(m_strUser) != nullptr;
    m_context.Start(m_strUser, bActive, m_store.m_prjStore, m_store.m_usageStore);
    m_programs.Start(m_strUser);
    AddActiveUser();
    m_useMeter.Start(CClock::RunningMs());
    m_nUnsavedSecs = 0;
    return m_store.m_activeUsers.Save() && bHistoryWritten;
}

void CChildSession::AddActiveUser() {
    if (!m_store.m_activeUsers.Find(m_strUser)) m_store.m_activeUsers.Add(m_strUser);
}

CChildSession::TICK CChildSession::Tick(const MINI_PLACE& mini) {
    TICK tick;
    if (m_context.GetStateId() == STATE_NEW_DAY && m_context.IsNewDay()) {
        // Midnight has passed: the new weekday's arrangement, and the screen stays locked until
        // "Start to use".
        m_context.StartNewDay(m_store.m_prjStore, m_store.m_usageStore);
        AddActiveUser();
        tick.bNewDay = true;
    }
    tick.nSeconds = m_useMeter.Take(CClock::RunningMs());
    const bool bWasNewDay = m_context.GetStateId() == STATE_NEW_DAY;
    m_context.OnTimer(m_programs.Tick(tick.nSeconds, m_context));
    // Midnight: the day just ended goes to the history while the context still holds it.
    if (!bWasNewDay && m_context.GetStateId() == STATE_NEW_DAY)
        tick.save = Worse(tick.save, SaveOf(CDayHistory::CloseDay(m_context)));
    m_nUnsavedSecs += tick.nSeconds;
    if (m_nUnsavedSecs >= kSaveEverySecs && m_context.GetStateId() != STATE_NEW_DAY) {
        m_nUnsavedSecs = 0;
        tick.save = Worse(tick.save, SaveOf(Save(mini)));
    }
    return tick;
}

bool CChildSession::Save(const MINI_PLACE& mini) {
    m_context.SetMini(mini);
    const bool bUsage = m_context.Save(m_store.m_usageStore);
    return m_programs.Save() && bUsage;
}

void CChildSession::StartToUse() {
    if (m_context.GetStateId() == STATE_NEW_DAY) {
        // The new day's real state is chosen by a fresh start.
        m_context.StartFresh(m_strUser, m_store.m_prjStore, m_store.m_usageStore);
        AddActiveUser();
        return;
    }
    m_context.OnStartToUse();
}

void CChildSession::TakeRest() { m_context.OnTakeRest(); }

bool CChildSession::GrantExtra(int nSeconds, const MINI_PLACE& mini) {
    m_context.GrantExtra(nSeconds);
    const bool bSaved = Save(mini);
    // The Administrator's proof was for this grant only: the child's session goes on without it.
    m_store.m_adminAccount.EndProof();
    return bSaved;
}

std::vector<std::uint32_t> CChildSession::LetThrough() { return m_programs.LetThrough(m_context); }

std::vector<PROGRAM_RULE> CChildSession::HomeworkToOpen() const { return m_programs.HomeworkToOpen(m_context); }

bool CChildSession::OpenHomework(const PROGRAM_RULE& rule) { return m_programs.OpenHomework(rule); }

bool CChildSession::MayUseNow() const { return m_context.GetLockKind() == LOCK_IN_USE; }

bool CChildSession::IsTotalUsedUp() const { return m_context.TodayPrj() && m_context.IsTotalLocked(); }

bool CChildSession::IsInsidePeriod() const {
    return !m_context.TodayPrj() || !m_context.IsOutsidePeriod(CClock::Now());
}
