// Extended definitions: the book's parametric derivation, weighted draws,
// seeds and threads, and every fault with its line and column. The book's
// context-sensitive plants are compared with a third-party implementation by
// context_oracle.js.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>

#include "engine/extended_definition.h"
#include "engine/growth.h"
#include "engine/production.h"

using namespace verdel;

namespace {

struct TRun {
    TRewriteStatus Status = TRewriteStatus::Done;
    std::string Production;
    std::string Fault; // "Line N, step S: ..."
};

TRun Produce(const TLines& lines, uint32_t seed = 0)
{
    const TValidation validation = ValidateDefinition(lines);
    EXPECT_TRUE(validation.Ok) << validation.LineText();
    auto state = std::make_unique<TDefinitionState>();
    ParseDefinition(*state, lines);
    TRandomSource random;
    random.Seed = seed;
    const TCancelToken never;
    TRun run;
    run.Status = RewriteProduction(*state, never, random);
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
