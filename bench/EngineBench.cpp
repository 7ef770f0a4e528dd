// The engine's cost per status-window tick and for a whole simulated day.
#include <benchmark/benchmark.h>

#include "core/rules/DayPreview.h"
#include "core/rules/LockCountdown.h"
#include "core/rules/UsageContext.h"
#include "core/rules/UsageState.h"
#include "core/store/PrjStore.h"
#include "core/store/UsageStore.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"

namespace {

// What the status window does each second, apart from drawing: the tick, the four texts, the
// lock kind and the countdown for the notice.
void StatusTick(CUsageContext& context, CLockCountdown& countdown, CFakeClock& clock) {
    clock.Advance(1);
    context.OnTimer(1);
    benchmark::DoNotOptimize(context.GetInfo1());
    benchmark::DoNotOptimize(context.GetInfo2());
    benchmark::DoNotOptimize(context.GetInfo3());
    benchmark::DoNotOptimize(context.GetInfo4());
    benchmark::DoNotOptimize(context.GetLockKind());
    benchmark::DoNotOptimize(countdown.GetSecondsToLock(context));
}

struct CLoggedIn {
    CTempFolder folder;
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 0, 0, 0)};
    CPrjStore prjStore;
    CUsageStore usageStore;
    CUsageContext context;
    CLockCountdown countdown;

    explicit CLoggedIn(const CDayPrj& day) {
        CUserPrj week("kid");
        week.m_days.fill(day);
        prjStore.Add(week);
        prjStore.Save();
        context.Start("kid", false, prjStore, usageStore);
    }
};

void BM_StatusTick(benchmark::State& state) {
    CDayPrj day;
    day.ClearLimits();  // stays allowed, the costliest texts
    CLoggedIn login(day);
    login.clock.Set(CClock::MakeLocal(2026, 5, 12, 8, 0, 0));
    for (auto _ : state) StatusTick(login.context, login.countdown, login.clock);
}
BENCHMARK(BM_StatusTick);

// 86,400 ticks of a default day from midnight: locks, rests and "Start to use" whenever offered.
void BM_FullDay(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        CLoggedIn login{CDayPrj()};
        state.ResumeTiming();
        for (int i = 0; i < 86400; ++i) {
            StatusTick(login.context, login.countdown, login.clock);
            if (login.context.GetLockKind() == LOCK_UNTIL_START && login.context.GetStateId() != STATE_NEW_DAY)
                login.context.OnStartToUse();
        }
        benchmark::DoNotOptimize(login.context.UsedSecs());
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
