// The random generator's Go and the mutator's Mutate: both run while the user waits on a button.
#include <benchmark/benchmark.h>

#include "generators/mutator.h"
#include "generators/random_generator.h"

using namespace verdel;

namespace {

// Go with the dialog's defaults (up to 17 rules of up to 16 commands).
void BM_RandomGo(benchmark::State& state)
{
    TRandomSource random;
    TRandomGenerator generator(random, 1);
    size_t lines = 0;
    for (auto _ : state) {
        generator.Go();
        lines += generator.Memo.size();
        benchmark::DoNotOptimize(generator.Memo.data());
    }
    state.counters["lines"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RandomGo)->Unit(benchmark::kMicrosecond);

// Go with every bar at its maximum: 18 rules, the longest bodies, the most brackets.
void BM_RandomGoHeaviest(benchmark::State& state)
{
    TRandomSource random;
    TRandomGenerator generator(random, 1);
    for (int bar = 0; bar < RandomBarCount; ++bar) generator.SetPosition(TRandomBar(bar), RandomBars[bar].Max);
    for (auto _ : state) {
        generator.Go();
        benchmark::DoNotOptimize(generator.Memo.data());
    }
}
BENCHMARK(BM_RandomGoHeaviest)->Unit(benchmark::kMicrosecond);

// Mutate at full radiation on a composed text of 18 rules.
void BM_MutateFullRadiation(benchmark::State& state)
{
    TRandomSource random;
    TRandomGenerator generator(random, 5);
    generator.SetPosition(rbRules, 18);
    generator.Locks[rlRules] = {true, "18"};
    generator.Go();
    TDefinitionMutator mutator(random, 2);
    mutator.SetPosition(mbRadiation, 10);
    for (auto _ : state) {
        mutator.Memo = generator.Memo;
        mutator.Mutate();
        benchmark::DoNotOptimize(mutator.Memo.data());
    }
}
BENCHMARK(BM_MutateFullRadiation)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
