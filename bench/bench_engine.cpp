// Rewriting and whole generations of the bundled benchmark models.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "engine/generation.h"
#include "engine/growth.h"
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

// Rewrites a definition whose steps would take hours one by one.
void RewriteDefinition(benchmark::State& state, const TLines& lines)
{
    auto definition = std::make_unique<TDefinitionState>();
    const TCancelToken token;
    for (auto _ : state) {
        ParseDefinition(*definition, lines);
        RewriteProduction(*definition, token);
        benchmark::DoNotOptimize(definition->Production.data());
    }
    state.counters["characters"] = static_cast<double>(definition->Production.size());
}

// Axiom A, A=AB, 2,000,000,000 iterations: refused at step 2,000,000.
void BM_RewriteLinearGrowth(benchmark::State& state)
{
    RewriteDefinition(state, {"2000000000", "0", "0", "A", "A=AB", "@"});
}
BENCHMARK(BM_RewriteLinearGrowth)->Unit(benchmark::kMillisecond);

// 49 one-character rules in cycles of 4, 5, 7, 9, 11 and 13 letters (period
// 180,180), one letter of each cycle in the axiom, 2,000,000,000 iterations.
TLines CycleDefinition(const std::string& iterations, int axiomRepeats)
{
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvw";
    TLines lines = {iterations, "0", "0", ""};
    size_t first = 0;
    for (const size_t length : {4, 5, 7, 9, 11, 13}) {
        for (int k = 0; k < axiomRepeats; ++k) lines[3] += letters[first + static_cast<size_t>(k) % length];
        for (size_t k = 0; k < length; ++k)
            lines.push_back(std::string(1, letters[first + k]) + "=" + letters[first + (k + 1) % length]);
        first += length;
    }
    lines.push_back("@");
    return lines;
}

void BM_RewriteCharacterCycles(benchmark::State& state) { RewriteDefinition(state, CycleDefinition("2000000000", 1)); }
BENCHMARK(BM_RewriteCharacterCycles)->Unit(benchmark::kMillisecond);

// A 4,097-character axiom of A and B, A=B, B=A, 2,000,000,000 iterations.
void BM_RewriteLongSwap(benchmark::State& state)
{
    std::string axiom;
    for (int k = 0; k < 4097; ++k) axiom += k % 3 == 0 ? 'A' : 'B';
    RewriteDefinition(state, {"2000000000", "0", "0", axiom, "A=B", "B=A", "@"});
}
BENCHMARK(BM_RewriteLongSwap)->Unit(benchmark::kMillisecond);

// A 2,000,000-character production of the 49 cycling letters, 200,000,000 iterations.
void BM_RewriteLongCycle(benchmark::State& state)
{
    RewriteDefinition(state, CycleDefinition("200000000", 2'000'000 / 6));
}
BENCHMARK(BM_RewriteLongCycle)->Unit(benchmark::kMillisecond);

// Parses and rewrites a bundled extended definition at the iteration value Steps,
// its axiom (the line after the three values) replaced by Axiom when given.
void RewriteBookDefinition(benchmark::State& state, const char* name, float steps, const std::string& axiom = {})
{
    TLines lines = WithIterationValue(ReadLinesFromFile(std::string(VERDEL_DATA "/vdfiles/book/") + name), steps);
    if (!axiom.empty()) {
        const auto at = std::find(lines.begin(), lines.end(), "+(90)F(200)>(45)!(4*vr)A");
        if (at == lines.end()) state.SkipWithError("the axiom has changed");
        else *at = axiom;
        lines.insert(lines.end() - 1, {"B --> A", "C --> B"});
    }
    auto definition = std::make_unique<TDefinitionState>();
    for (auto _ : state) {
        ParseDefinition(*definition, lines);
        if (RewriteProduction(*definition) != true) state.SkipWithError("the production was refused");
        benchmark::DoNotOptimize(definition->Production.data());
    }
    state.counters["characters"] = static_cast<double>(definition->Production.size());
}

// The ternary tree (parametric: every segment lengthened by an expression
// each step) after 9 steps, with two more trees one and two steps younger:
// 1,896,768 characters.
void BM_ExtendedParametricTree(benchmark::State& state)
{
    RewriteBookDefinition(state, "ternary_2_8.vd", 9, "+(90)F(200)>(45)!(4*vr)A[B][C][C]");
}
BENCHMARK(BM_ExtendedParametricTree)->Unit(benchmark::kMillisecond);

// A context-sensitive plant (every module matched against both neighbours
// across branches) after 43 steps: 1,890,976 characters.
void BM_ExtendedContextPlant(benchmark::State& state) { RewriteBookDefinition(state, "context_1_31b.vd", 43); }
BENCHMARK(BM_ExtendedContextPlant)->Unit(benchmark::kMillisecond);

// An extended definition of 1,000,000 steps ends within two seconds: with
// its exact production when its string comes back (here it grows to 131,072
// modules, then two letters swap every step), else with a refusal when the
// work limit is reached (here 200 modules drawn anew every step).
void RewriteManySteps(benchmark::State& state, const TLines& lines, bool done)
{
    auto definition = std::make_unique<TDefinitionState>();
    for (auto _ : state) {
        ParseDefinition(*definition, lines);
        if (RewriteProduction(*definition) != done) state.SkipWithError("unexpected outcome");
    }
}
void BM_ExtendedRepeatingMillionSteps(benchmark::State& state)
{
    RewriteManySteps(state,
                     {"#extended", "1000000", "30", "10", "A", "A --> BBBBBBBBBBBBBBBB", "B --> CCCCCCCCCCCCCCCC",
                      "C --> DDDDDDDDDDDDDDDD", "D --> EEEEEEEEEEEEEEEE", "E --> GG", "G --> H", "H --> G", "@"},
                     true);
}
BENCHMARK(BM_ExtendedRepeatingMillionSteps)->Unit(benchmark::kMillisecond);
void BM_ExtendedWorkLimit(benchmark::State& state)
{
    RewriteManySteps(
        state,
        {"#extended", "1000000", "30", "10", std::string(200, 'A'), "A --> A : 1", "A --> B : 1", "B --> A", "@"},
        false);
}
BENCHMARK(BM_ExtendedWorkLimit)->Unit(benchmark::kMillisecond);

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
