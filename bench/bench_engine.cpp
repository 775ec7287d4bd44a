// Rewriting and whole generations of the bundled benchmark models.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "engine/generation.h"
#include "engine/production.h"
#include "engine/production_warnings.h"

using namespace verdel;

namespace {

// Axiom A, A=[&FA]<<<<[&FA]<<<<[&FA], 11 iterations: 1,948,607 characters.
void BM_BuildProduction(benchmark::State& state)
{
    const TLines lines = {"11", "30", "10", "A", "A=[&FA]<<<<[&FA]<<<<[&FA]", "@"};
    auto definition = std::make_unique<TDefinitionState>();
    for (auto _ : state) {
        ParseDefinition(*definition, lines);
        RewriteProduction(*definition);
        benchmark::DoNotOptimize(definition->Production.data());
    }
    state.counters["characters"] = static_cast<double>(definition->Production.size());
}
BENCHMARK(BM_BuildProduction)->Unit(benchmark::kMillisecond);

// Validate, parse, rewrite, turtle and bounds for the bundled 30,000-tube forest.
void BM_Generation(benchmark::State& state)
{
    const TLines lines = ReadLinesFromFile(VERDEL_DATA "/vdfiles/forest.vd");
    bench::TYesPrompt prompt;
    auto store = std::make_unique<TFaceStore>();
    auto definition = std::make_unique<TDefinitionState>();
    for (auto _ : state) {
        const TGenerationResult result =
            GenerateModel(lines, TSolidSettings{}, prompt, *definition, *store, RandomSource);
        if (result.Status != TGenerationStatus::Done) state.SkipWithError("generation failed");
        benchmark::DoNotOptimize(store->ObjectCount);
    }
    state.counters["objects"] = store->ObjectCount;
    state.counters["peak_MB"] = bench::PeakResidentMegabytes();
    FreeScene(*store);
}
BENCHMARK(BM_Generation)->Unit(benchmark::kMillisecond);

// The warnings the GUI shows after a generation, over a production of about 2,000,000 characters
// with parameters: one pass, a small share of the turtle's time.
void BM_ProductionWarnings(benchmark::State& state)
{
    const TLines lines = {"11", "30", "10", "A", "A=[&F(20)A]<<<<[&QA]<<<<[&FA]", "@"};
    auto definition = std::make_unique<TDefinitionState>();
    ParseDefinition(*definition, lines);
    RewriteProduction(*definition);
    for (auto _ : state) {
        const std::vector<std::string> warnings = ProductionWarnings(definition->Production, TSolidSettings{});
        benchmark::DoNotOptimize(warnings.data());
    }
    state.counters["characters"] = static_cast<double>(definition->Production.size());
}
BENCHMARK(BM_ProductionWarnings)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
