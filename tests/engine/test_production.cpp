#include <gtest/gtest.h>

#include "engine/production.h"
#include "support/scripted_prompt.h"

using namespace verdel;
using verdel::test::TScriptedPrompt;

namespace {

std::unique_ptr<TDefinitionState> Parsed(const TLines& lines)
{
    auto state = std::make_unique<TDefinitionState>();
    std::string error;
    EXPECT_TRUE(ValidateDefinition(lines, error)) << error;
    ParseDefinition(*state, lines);
    return state;
}

std::string Produce(const TLines& lines)
{
    auto state = Parsed(lines);
    EXPECT_TRUE(RewriteProduction(*state));
    return state->Production;
}

} // namespace

TEST(RewriteProduction, KnownProductions)
{
    struct TCase {
        const char* Name;
        TLines Lines;
        const char* Production;
    };
    const std::vector<TCase> cases = {
        {"doubling", {"3", "90", "10", "F", "F=F+F", "@"}, "F+F+F+F+F+F+F+F"},
        {"characters without a rule become )", {"1", "90", "10", "X_", "@"}, "))"},
        {"the first rule wins", {"1", "90", "10", "A", "A=B", "A=C", "@"}, "B"},
        {"fractional last step wraps scaled successors",
         {"1.5", "90", "10", "X", "X=F[+X]F", "F=FF", "@"},
         "FF[+@F[+X]F@]FF"},
        {"insertion without rewriting", {"0", "90", "10", "AXA", "@(A,12)"}, "12AX12A"},
        {"insertion text is not scanned again", {"1", "90", "10", "A", "A=AA", "@(A,A)"}, "AAAA"},
        {"negative iterations leave the axiom", {"-3", "90", "10", "FX", "F=FF", "@"}, "FX"},
        {"empty successor", {"2", "90", "10", "AFA", "A=", "@"}, "F"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Produce(c.Lines), c.Production);
    }
}

TEST(RewriteProduction, BenchmarkRuleGivesItsKnownLength)
{
    EXPECT_EQ(Produce({"11", "30", "10", "A", "A=[&FA]<<<<[&FA]<<<<[&FA]", "@"}).size(), 1948607u);
}

TEST(RewriteProduction, LimitIsOnTheSumOfSuccessorLengths)
{
    auto exact = Parsed({"1", "90", "10", "F", "@"});
    exact->Production.assign(2'000'000, 'F');
    EXPECT_TRUE(RewriteProduction(*exact));
    EXPECT_EQ(exact->Production.size(), 2'000'000u);

    auto over = Parsed({"1", "90", "10", "F", "@"});
    over->Production.assign(2'000'001, 'F');
    EXPECT_FALSE(RewriteProduction(*over));
    EXPECT_EQ(over->Production.size(), 2'000'000u); // the part built before the failing character
}

TEST(RewriteProduction, FractionalStepMayEndAboveTheLimit)
{
    auto state = Parsed({"0.5", "90", "10", "X", "X=F", "@"});
    state->Production.assign(1'000'000, 'X');
    EXPECT_TRUE(RewriteProduction(*state));
    EXPECT_EQ(state->Production.size(), 3'000'000u); // "@F@" per X; only the F counts
}

TEST(RewriteProduction, ManyStepsOverAFixedPointFinishWithTheFractionalStep)
{
    // 100000.5 iterations: every ordinary step repeats "X", the last wraps it.
    EXPECT_EQ(Produce({"100000.5", "90", "10", "X", "X=X", "@"}), "@X@");
    EXPECT_EQ(Produce({"2000000000", "90", "10", "XF", "F=F", "@"}), ")F");
}

TEST(RewriteProduction, ManyStepsOverACycleSkipWholePeriods)
{
    // A and B swap every step, C runs through a cycle of three: the result is
    // that of the plain walk, found without taking millions of steps.
    EXPECT_EQ(Produce({"16777215", "90", "10", "AB", "A=B", "B=A", "@"}), "BA");
    EXPECT_EQ(Produce({"2000000000", "90", "10", "AB", "A=B", "B=A", "@"}), "AB");
    EXPECT_EQ(Produce({"1000000", "90", "10", "C", "C=D", "D=E", "E=C", "@"}), "D"); // 1,000,000 = 3 x 333,333 + 1
    EXPECT_EQ(Produce({"1000.5", "90", "10", "C", "C=D", "D=E", "E=C", "@"}),
              "@E@"); // 1000 steps, then the fractional one
}

TEST(RewriteProduction, InsertionBeyondTheLimitIsRefused)
{
    auto state = Parsed({"0", "90", "10", "A", "@(A,xxxxxxxxxx)"});
    state->Production.assign(200'000, 'A');
    EXPECT_FALSE(RewriteProduction(*state));
    EXPECT_EQ(state->Production.size(), 200'000u);
}

TEST(EstimateOutputSize, CountsSegmentsAndPolygons)
{
    EXPECT_EQ(EstimateOutputSize("FZf}QRW{"), 2 * 2080 + 541);
    EXPECT_EQ(FormatEstimate(5'000'001), "5,000,001");
    EXPECT_EQ(FormatEstimate(123'456'789), "123,456,792"); // rounded to a Single first
    EXPECT_EQ(FormatEstimate(999), "999");
}

TEST(BuildProduction, AsksAboutLargeOutputOnlyAboveTheLimit)
{
    // Find F and } counts whose estimate is exactly 5,000,000 and 5,000,001.
    auto axiomFor = [](int64_t target) {
        for (int64_t polygons = 0; polygons * 541 <= target; ++polygons)
            if ((target - polygons * 541) % 2080 == 0)
                return std::string(static_cast<size_t>((target - polygons * 541) / 2080), 'F') +
                       std::string(static_cast<size_t>(polygons), '}');
        return std::string();
    };
    for (const auto& [target, asks] : {std::pair<int64_t, bool>{5'000'000, false}, {5'000'001, true}}) {
        SCOPED_TRACE(target);
        auto state = Parsed({"0", "90", "10", "F", "@"});
        state->Production = axiomFor(target);
        ASSERT_FALSE(state->Production.empty());
        TScriptedPrompt prompt;
        prompt.Answers = {TAnswer::Yes};
        EXPECT_TRUE(BuildProduction(*state, prompt));
        EXPECT_EQ(prompt.Questions.size(), asks ? 1u : 0u);
        if (asks) {
            EXPECT_EQ(prompt.Questions[0], "Estimated Output File Size: 5,000,001\r\nDo you wish to continue?");
        }
    }
}

TEST(BuildProduction, NoStopsAndOverflowReports)
{
    auto large = Parsed({"0", "90", "10", "F", "@"});
    large->Production.assign(3000, 'F');
    TScriptedPrompt no;
    EXPECT_FALSE(BuildProduction(*large, no));

    auto overflow = Parsed({"30", "90", "10", "F", "F=FF", "@"});
    TScriptedPrompt prompt;
    EXPECT_FALSE(BuildProduction(*overflow, prompt));
    EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Production String Exceeded Maximum Length"});
    EXPECT_TRUE(prompt.Questions.empty());
}
