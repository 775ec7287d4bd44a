// Extended definitions: the book's parametric derivation, weighted draws,
// seeds and threads, faults while rewriting, and far step counts reached
// through the repetition of the string. The book's context-sensitive plants
// are compared with a third-party implementation by context_oracle.js.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <thread>

#include "engine/extended_definition.h"
#include "engine/extended_rewriting.h"
#include "engine/growth.h"
#include "engine/production.h"

using namespace verdel;

namespace {

struct TRun {
    TRewriteStatus Status = TRewriteStatus::Done;
    std::string Production;
    std::string Fault; // "Line N, step S: ..."
};

// The production of Lines; without finding cycles, every step is taken one by one.
TRun Produce(const TLines& lines, uint32_t seed = 0, bool findCycles = true)
{
    const TValidation validation = ValidateDefinition(lines);
    EXPECT_TRUE(validation.Ok) << validation.LineText();
    auto state = std::make_unique<TDefinitionState>();
    ParseDefinition(*state, lines);
    TRandomSource random;
    random.Seed = seed;
    const TCancelToken never;
    TRun run;
    run.Status = findCycles ? RewriteProduction(*state, never, random)
                            : RewriteExtended(*state, random, never, MaxProductionLength, {INT64_MAX, false});
    run.Production = state->Production;
    run.Fault = state->FaultText;
    return run;
}

TLines Extended(const std::string& iterations, const std::string& axiom, const std::vector<std::string>& rules)
{
    TLines lines = {"#extended", iterations, "30", "10", axiom};
    lines.insert(lines.end(), rules.begin(), rules.end());
    lines.push_back("@");
    return lines;
}

TLines At(TLines lines, const std::string& iterations)
{
    lines[1] = iterations;
    return lines;
}

// A random deterministic definition whose string stops growing: A, B and C
// only write letters after their own, X, Y and Z (one parameter each, some
// rules with a left context or a condition) write one of X, Y and Z. The
// parameters go round {v, 1-v} or {v, -v}, so 0 and -0 take turns.
TLines RandomDefinition(std::mt19937& generator)
{
    auto pick = [&](size_t n) { return static_cast<size_t>(generator() % n); };
    const std::string change = pick(2) ? "1-x" : "-x";
    auto terminal = [&] { return std::string(1, "XYZ"[pick(3)]) + "(" + (pick(2) ? change : "x") + ")"; };
    auto successor = [&](size_t after) {
        std::string text;
        for (size_t n = 1 + pick(3); n > 0; --n) {
            const size_t kind = pick(5);
            if (kind == 0 && after < 2) text += std::string(1, "ABC"[after + 1 + pick(2 - after)]) + "(x)";
            else if (kind == 1) text.append("[").append(terminal()).append("]");
            else if (kind == 2) text += "F";
            else text += terminal();
        }
        return text;
    };
    TLines lines = {"#extended", "0", "30", "10", ""};
    for (size_t n = 1 + pick(4); n > 0; --n)
        lines[4] += std::string(1, "ABCXYZ"[pick(6)]) + "(" + (pick(2) ? "0" : "2") + ")";
    if (pick(2)) lines[4] += "X(0.5)[Y(2)]";
    for (size_t g = 0; g < 3; ++g) lines.push_back(std::string(1, "ABC"[g]) + "(x) --> " + successor(g));
    for (const char t : std::string("XYZ")) {
        if (pick(2)) lines.push_back(std::string(1, "XYZ"[pick(3)]) + "(y) < " + t + "(x) --> " + terminal());
        if (pick(3) == 0) lines.push_back(std::string(1, t) + "(x) : x > 0.25 --> " + terminal());
        lines.push_back(std::string(1, t) + "(x) --> " + terminal());
    }
    lines.push_back("@");
    return lines;
}

} // namespace

// Section 1.10 of the book lists the first words of its derivation.
TEST(ExtendedRewriting, TheBooksParametricDerivation)
{
    const TLines lines = ReadLinesFromFile(VERDEL_DATA "/vdfiles/book/parametric_1_10.vd");
    const std::vector<std::string> words = {"B(2)A(4,4)", "B(1)B(4)A(1,0)", "B(0)B(3)A(2,1)", "CB(2)A(4,3)",
                                            "CB(1)A(8,7)", "CB(0)B(8)A(1.1428571428571428,0)"};
    for (size_t n = 0; n < words.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(Produce(WithIterationValue(lines, static_cast<float>(n))).Production, words[n]);
    }
}

// Among the weighted rules that match, each is drawn in proportion to its
// weight; an unweighted rule that also matches is not used, and one whose
// condition fails takes no share.
TEST(ExtendedRewriting, WeightedRulesAreDrawnInProportion)
{
    const TLines lines = Extended("1", std::string(4000, 'A'),
                                  {"A --> U", "A --> B : 1", "A --> C : 3", "A : 1 > 2 --> D : 100"});
    const std::string production = Produce(lines, 12345).Production;
    ASSERT_EQ(production.size(), 4000u);
    const double c = static_cast<double>(std::count(production.begin(), production.end(), 'C')) / 4000;
    EXPECT_EQ(std::count(production.begin(), production.end(), 'B') + std::count(production.begin(), production.end(), 'C'), 4000);
    // Four standard deviations of a share of 3/4 among 4000 draws.
    EXPECT_NEAR(c, 0.75, 4 * std::sqrt(0.75 * 0.25 / 4000));
}

// A seed repeats a stochastic production exactly, also when generations run
// on several threads at once; another seed grows another plant.
TEST(ExtendedRewriting, ASeedRepeatsItsProductionOnAnyNumberOfThreads)
{
    const TLines lines = ReadLinesFromFile(VERDEL_DATA "/vdfiles/book/stochastic_1_27.vd");
    const std::string first = Produce(lines, 7).Production;
    EXPECT_EQ(Produce(lines, 7).Production, first);
    EXPECT_NE(Produce(lines, 8).Production, first);
    for (const int threads : {1, 2, 3}) {
        SCOPED_TRACE(threads);
        std::vector<std::string> productions(static_cast<size_t>(threads));
        std::vector<std::thread> workers;
        for (auto& production : productions)
            workers.emplace_back([&production, &lines] { production = Produce(lines, 7).Production; });
        for (std::thread& worker : workers) worker.join();
        for (const std::string& production : productions) EXPECT_EQ(production, first);
    }
}

// A fault while rewriting names its rule's line and the step. (The faults the
// validator finds are in the validator's table.)
TEST(ExtendedDefinition, FaultsWhileRewritingSayWhereAndWhat)
{
    const std::vector<std::pair<TLines, const char*>> failures = {
        {Extended("3", "A(2)", {"A(x) --> F(1/(x-1))A(x-1)"}), "Line 6, step 2: parameter 1 of 'F' is not a finite"},
        {Extended("3", "A(1)", {"A(x) : log(x - 1) > 0 --> B"}), "Line 6, step 1: the condition is not a number: log"},
        {Extended("3", "A(0)", {"A(x) --> B : x - 1", "A(x) --> C : 1"}), "Line 6, step 1: the weight is negative"},
    };
    for (const auto& [lines, says] : failures) {
        SCOPED_TRACE(says);
        const TRun run = Produce(lines);
        EXPECT_EQ(run.Status, TRewriteStatus::Failed);
        EXPECT_EQ(run.Fault.rfind(says, 0), 0u) << run.Fault;
    }
}

// Huge step counts give the production of the smaller count that lands at the
// same place of the repetition, found here from the texts of steps taken one
// by one; small ones give the one-by-one production itself.
TEST(ExtendedCycles, RepeatingStringsSkipToTheProductionOfStepsTakenOneByOne)
{
    std::mt19937 generator(77);
    int repeating = 0;
    for (int k = 0; k < 60; ++k) {
        const TLines lines = RandomDefinition(generator);
        SCOPED_TRACE(testing::PrintToString(lines));
        std::vector<std::string> texts;
        std::map<std::string, int> seen;
        int first = -1, period = 0;
        for (int n = 0; n <= 48 && period == 0; ++n) {
            texts.push_back(Produce(At(lines, std::to_string(n)), 0, false).Production);
            EXPECT_EQ(Produce(At(lines, std::to_string(n))).Production, texts.back());
            const auto [at, added] = seen.emplace(texts.back(), n);
            if (!added) first = at->second, period = n - at->second;
        }
        repeating += period > 0;
        for (const int64_t n : {999'999, 1'000'000}) {
            if (period == 0) break;
            const int64_t same = first + (n - first) % period;
            EXPECT_EQ(Produce(At(lines, std::to_string(n))).Production, texts[static_cast<size_t>(same)]) << n;
            EXPECT_EQ(Produce(At(lines, std::to_string(n - 1) + ".5")).Production,
                      Produce(At(lines, std::to_string(same + period - 1) + ".5"), 0, false).Production) << n;
        }
    }
    EXPECT_GE(repeating, 50);
}

// A string that never repeats, or one drawn anew every step, is refused after
// a bounded amount of work, naming the iterations line.
TEST(ExtendedCycles, EndlessWorkIsRefused)
{
    const std::string many = "A(0)A(0)A(0)A(0)A(0)A(0)A(0)A(0)A(0)A(0)";
    const std::vector<TLines> cases = {
        {"#extended", "", "30", "10", many + many + many, "A(x) --> A(x+1)", "@"},
        {"#extended", "", "30", "10", std::string(200, 'A'), "A --> A : 1", "A --> B : 1", "B --> A", "@"},
    };
    for (const TLines& lines : cases) {
        SCOPED_TRACE(lines[5]);
        const TRun result = Produce(At(lines, "1000000"));
        EXPECT_EQ(result.Status, TRewriteStatus::Refused);
        EXPECT_EQ(result.Fault.rfind("Line 2: 1000000 steps rewrite more than", 0), 0u) << result.Fault;
    }
}
