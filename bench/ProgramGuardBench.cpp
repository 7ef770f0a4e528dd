// The per-second cost of the limits per program: one tick of the guard with 200 processes running
// (a game in front, two copies of it, homework, the rest without a rule), five rules. The process
// list is the tests' fake, so this is the portable part's cost; the Windows process list's own is
// measured under Wine (bench/wine/ProgramTickBench.cpp).
#include <benchmark/benchmark.h>

#include "core/programs/ProgramGuard.h"
#include "core/rules/UsageContext.h"
#include "core/store/PrjStore.h"
#include "core/store/ProgramUseStore.h"
#include "core/store/UsageStore.h"
#include "support/FakeClock.h"
#include "support/FakeProcesses.h"
#include "support/TempFolder.h"

namespace {

void BM_ProgramGuardTick(benchmark::State& state) {
    CTempFolder folder;
    CFakeClock clock{CClock::MakeLocal(2026, 5, 12, 9, 0, 0)};
    CFakeProcesses processes;
    const int nProcesses = static_cast<int>(state.range(0));
    CPrjStore prjStore;
    CUsageStore usageStore;
    CProgramRuleStore rules;
    CProgramUseStore use;
    std::vector<PROGRAM_RULE> list;
    for (const char* pszProgram : {"game.exe", "chess.exe", "word.exe", "paint.exe", "browser.exe"}) {
        PROGRAM_RULE rule;
        rule.strProgram = pszProgram;
        rule.nMinutes.fill(24 * 60);  // never runs out during the run
        list.push_back(rule);
    }
    list[2].nFlags = PROGRAM_RULE::FLAG_OUTSIDE;
    rules.ReplaceUser("kid", list);
    rules.Save();
    const std::uint32_t nGame = processes.Start("game.exe");
    processes.Start("game.exe", "D:\\Copy\\game.exe");
    processes.Start("word.exe");
    processes.StartMany(nProcesses - 3);
    processes.Front(nGame);
    CUsageContext context;
    context.Start("kid", false, prjStore, usageStore);
    CProgramGuard guard(rules, use);
    guard.Start("kid");
    for (auto _ : state) {
        clock.Advance(1);
        benchmark::DoNotOptimize(guard.Tick(1, context));
        benchmark::DoNotOptimize(guard.LetThrough(context));
        benchmark::DoNotOptimize(guard.StatusLine());
        benchmark::DoNotOptimize(guard.Notice());
    }
}
BENCHMARK(BM_ProgramGuardTick)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
