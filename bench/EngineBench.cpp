// The cost of a child's session per status-window tick and for a whole simulated day.
#include <benchmark/benchmark.h>

#include "core/rules/DayPreview.h"
#include "core/rules/LockCountdown.h"
#include "core/rules/UsageState.h"
#include "core/session/ChildSession.h"
#include "core/store/DataStore.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"

namespace {

// What the status window does each second, apart from drawing: the session's tick (with its save
// once a minute), the state's texts, the lock kind and the countdown for the notice.
void StatusTick(CChildSession& session, CLockCountdown& countdown, CFakeClock& clock) {
    clock.Advance(1);
    benchmark::DoNotOptimize(session.Tick(CChildSession::MINI_PLACE{}).nSeconds);
    const CUsageContext& context = session.Context();
    benchmark::DoNotOptimize(context.Texts());
    benchmark::DoNotOptimize(context.GetLockKind());
    benchmark::DoNotOptimize(countdown.GetSecondsToLock(context));
}

struct CLoggedIn {
    CTempFolder folder;
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 0, 0, 0)};
    CDataStore store;
    CChildSession session{store, "kid"};
    CLockCountdown countdown;

    explicit CLoggedIn(const CDayPrj& day) {
        CUserPrj week("kid");
        week.m_days.fill(day);
        store.m_prjStore.Add(week);
        store.m_prjStore.Save();
        session.Start();
    }
};

void BM_StatusTick(benchmark::State& state) {
    CDayPrj day;
    day.ClearLimits();  // stays allowed, the costliest texts
    CLoggedIn login(day);
    login.clock.Set(CClock::MakeLocal(2026, 5, 12, 8, 0, 0));
    for (auto _ : state) StatusTick(login.session, login.countdown, login.clock);
}
BENCHMARK(BM_StatusTick);

// 86,400 ticks of a default day from midnight: locks, rests and "Start to use" whenever offered.
void BM_FullDay(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        CLoggedIn login{CDayPrj()};
        state.ResumeTiming();
        for (int i = 0; i < 86400; ++i) {
            StatusTick(login.session, login.countdown, login.clock);
            const CUsageContext& context = login.session.Context();
            if (context.GetLockKind() == LOCK_UNTIL_START && context.GetStateId() != STATE_NEW_DAY)
                login.session.StartToUse();
        }
        benchmark::DoNotOptimize(login.session.Context().UsedSecs());
    }
    state.SetItemsProcessed(state.iterations() * 86400);
}
BENCHMARK(BM_FullDay)->Unit(benchmark::kMillisecond);

// The editor's preview of a default day (all three limits): one replay, recomputed at every
// change of the day's controls.
void BM_DayPreview(benchmark::State& state) {
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 9, 0, 0)};
    const CDayPrj day;
    for (auto _ : state) benchmark::DoNotOptimize(CDayPreview::Simulate(day).UsedSecs());
}
BENCHMARK(BM_DayPreview)->Unit(benchmark::kMillisecond);

}  // namespace
