// Drives a usage context as the status window does: a login, one tick a second with the fake
// clock, the two buttons, the once-a-minute save and the reload at a new day; with a program guard
// given, the guard's tick first, whose seconds the day counts.
#pragma once

#include <string>

#include "core/programs/ProgramGuard.h"
#include "core/rules/UsageContext.h"
#include "core/rules/UsageState.h"
#include "core/store/ExtraTimeStore.h"
#include "core/store/PrjStore.h"
#include "core/store/UsageStore.h"
#include "support/FakeClock.h"

class CEngineDriver {
public:
    explicit CEngineDriver(CFakeClock& clock) : m_clock(clock) { m_context.m_pExtraStore = &m_extraStore; }

    void Login(const std::string& strUser, bool bActive = false) {
        m_nTicks = 0;
        m_context.Start(strUser, bActive, m_prjStore, m_usageStore);
        m_context.Save(m_usageStore);
        if (m_pPrograms) m_pPrograms->Start(strUser);
    }
    void Logout() {
        m_context.Save(m_usageStore);
        if (m_pPrograms) m_pPrograms->Save();
    }

    // One second passes and the status window's timer ticks.
    void Tick() {
        m_clock.Advance(1);
        if (m_context.GetStateId() == STATE_NEW_DAY && m_context.IsNewDay()) m_context.StartNewDay(m_prjStore, m_usageStore);
        m_context.OnTimer(m_pPrograms ? m_pPrograms->Tick(1, m_context) : 1);
        if (++m_nTicks % 60 == 0 && m_context.GetStateId() != STATE_NEW_DAY) m_context.Save(m_usageStore);
    }
    void Ticks(int nCount) {
        for (int i = 0; i < nCount; ++i) Tick();
    }
    // Ticks until the state is nId; returns the ticks taken (-1 when nMax passed first).
    int TicksUntil(int nId, int nMax) {
        for (int i = 1; i <= nMax; ++i) {
            Tick();
            if (m_context.GetStateId() == nId) return i;
        }
        return -1;
    }

    void StartToUse() {
        if (m_context.GetStateId() == STATE_NEW_DAY)
            m_context.StartFresh(m_context.m_strUser, m_prjStore, m_usageStore);
        else
            m_context.OnStartToUse();
    }
    void TakeRest() { m_context.OnTakeRest(); }

    CUsageContext& Context() { return m_context; }
    // The program guard ticked before the context (none: the day counts every second).
    CProgramGuard* m_pPrograms = nullptr;
    int State() const { return m_context.GetStateId(); }

private:
    CFakeClock& m_clock;
    CPrjStore m_prjStore;
    CUsageStore m_usageStore;
    CExtraTimeStore m_extraStore;
    CUsageContext m_context;
    int m_nTicks = 0;
};
