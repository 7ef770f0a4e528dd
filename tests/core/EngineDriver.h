// Drives a child's session as the status window does: a login, one tick a second on the fake
// clock, the two buttons and the end of the login; the data files live in the test's folder.
#pragma once

#include <memory>
#include <string>

#include "core/rules/UsageState.h"
#include "core/session/ChildSession.h"
#include "core/store/DataStore.h"
#include "support/FakeClock.h"

class CEngineDriver {
public:
    explicit CEngineDriver(CFakeClock& clock) : m_clock(clock) {}

    // bActive: the program was restarted, so the active-user list is read from its file, as the
    // program does at its start; the child found there resumes the day.
    void Login(const std::string& strUser, bool bActive = false) {
        if (bActive) m_store.m_activeUsers.Load();
        m_pSession = std::make_unique<CChildSession>(m_store, strUser);
        m_pSession->Start();
        m_mini = Context().Mini();  // the mini window placed where the usage says
        m_pSession->Save(m_mini);
    }
    void Logout() { m_pSession->Save(m_mini); }

    // One second passes and the status window's timer ticks.
    CChildSession::TICK Tick() {
        m_clock.Advance(1);
        return m_pSession->Tick(m_mini);
    }
    void Ticks(int nCount) {
        for (int i = 0; i < nCount; ++i) Tick();
    }
    // Ticks until the state is nId; returns the ticks taken (-1 when nMax passed first).
    int TicksUntil(int nId, int nMax) {
        for (int i = 1; i <= nMax; ++i) {
            Tick();
            if (State() == nId) return i;
        }
        return -1;
    }

    void StartToUse() { m_pSession->StartToUse(); }
    void TakeRest() { m_pSession->TakeRest(); }

    CChildSession& Session() { return *m_pSession; }
    // The data store the program's windows share.
    CDataStore& Store() { return m_store; }
    const CUsageContext& Context() const { return m_pSession->Context(); }
    int State() const { return Context().GetStateId(); }
    // The mini window as the window would hand it to the session.
    CChildSession::MINI_PLACE& Mini() { return m_mini; }

private:
    CFakeClock& m_clock;
    CDataStore m_store;
    std::unique_ptr<CChildSession> m_pSession;
    CChildSession::MINI_PLACE m_mini;
};
