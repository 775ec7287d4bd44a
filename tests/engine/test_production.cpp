#include <gtest/gtest.h>

#include <tuple>

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

TEST(RewriteProduction, GrowthToTheLimitIsRefusedAtItsStep)
{
    // A=AB, and B (without a rule) becomes ")": n steps give A, B and n-1
    // ")", n+1 characters. 1,999,999 steps make 2,000,000 characters; the next
    // step would make 2,000,001 and keeps the part built before the failing
    // character, which is the whole string but its last ")".
    const std::string limit = "AB" + std::string(1'999'998, ')');
    auto fits = Parsed({"1999999", "0", "0", "A", "A=AB", "@"});
    EXPECT_TRUE(RewriteProduction(*fits));
    EXPECT_TRUE(fits->Production == limit) << fits->Production.size();

    for (const char* iterations : {"2000000", "2000000000"}) {
        SCOPED_TRACE(iterations);
        auto refused = Parsed({iterations, "0", "0", "A", "A=AB", "@"});
        EXPECT_FALSE(RewriteProduction(*refused));
        EXPECT_TRUE(refused->Production == limit) << refused->Production.size();
    }
}

TEST(RewriteProduction, OneCharacterCyclesFollowTheirOrbits)
{
    // 49 one-character rules in cycles of 4, 5, 7, 9, 11 and 13 letters
    // (period 180,180); the axiom holds the first letter of each cycle, which
    // after n steps has moved n mod length places along its cycle.
    const std::string letters = "ABCDEGHIJKLMNOPQRSTUVWXYabcdeghijklmnopqrstuvwxy0";
    const std::vector<size_t> lengths = {4, 5, 7, 9, 11, 13};
    TLines lines = {"", "0", "0", ""};
    size_t first = 0;
    for (const size_t length : lengths) {
        lines[3] += letters[first];
        for (size_t k = 0; k < length; ++k)
            lines.push_back(std::string(1, letters[first + k]) + "=" + letters[first + (k + 1) % length]);
        first += length;
    }
    lines.push_back("@");
    auto expected = [&](int64_t steps, bool wrapped) {
        std::string production;
        size_t start = 0;
        for (const size_t length : lengths) {
            const char letter = letters[start + static_cast<size_t>(steps % static_cast<int64_t>(length))];
            production += wrapped ? std::string("@") + letter + "@" : std::string(1, letter);
            start += length;
        }
        return production;
    };
    for (const auto& [iterations, steps, fractional] : std::vector<std::tuple<const char*, int64_t, bool>>{
             {"2000000000", 2'000'000'000, false}, {"180180", 180'180, false}, {"1000000.5", 1'000'001, true}}) {
        SCOPED_TRACE(iterations);
        lines[0] = iterations;
        EXPECT_EQ(Produce(lines), expected(steps, fractional));
    }
}

TEST(RewriteProduction, LongProductionsSwapEveryStep)
{
    // 4,097 characters with A=B and B=A: even counts give the axiom back, odd
    // ones its swap (2^24 - 1 is the largest odd count a Single holds).
    std::string axiom;
    std::string swapped;
    for (int k = 0; k < 4097; ++k) {
        axiom += k % 3 == 0 ? 'A' : 'B';
        swapped += k % 3 == 0 ? 'B' : 'A';
    }
    EXPECT_EQ(Produce({"2000000000", "0", "0", axiom, "A=B", "B=A", "@"}), axiom);
    EXPECT_EQ(Produce({"16777215", "0", "0", axiom, "A=B", "B=A", "@"}), swapped);
}

TEST(RewriteProduction, CancelledRewritingSaysSo)
{
    // The token is polled from the start, so an already cancelled token stops
    // even a definition that would finish at once.
    auto state = Parsed({"2000000000", "0", "0", "A", "A=AB", "@(A,x)"});
    TCancelToken token;
    token.Cancel();
    EXPECT_EQ(RewriteProduction(*state, token), TRewriteStatus::Cancelled);
    TScriptedPrompt prompt;
    EXPECT_EQ(BuildProduction(*state, prompt, token), TRewriteStatus::Cancelled);
    EXPECT_TRUE(prompt.Messages.empty());
    EXPECT_TRUE(prompt.Questions.empty());
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
