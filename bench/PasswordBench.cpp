// The time one password takes to hash (and so to check at a login): about 50 ms is the aim.
#include <benchmark/benchmark.h>

#include "core/store/PasswordField.h"

namespace {

void HashOnePassword(benchmark::State& state) {
    char field[CPasswordField::kSize];
    for (auto _ : state) {
        benchmark::DoNotOptimize(CPasswordField::Store("correct horse battery", field));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(HashOnePassword)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
