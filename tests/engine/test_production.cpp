// Rewriting a parsed definition: the rule table, the fractional last step,
// the insertion directive, the length limit and the questions asked. How many
// steps at once compare with steps taken one by one is in test_rewriting.cpp.
#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "engine/production.h"
#include "engine/production_warnings.h"
#include "support/files.h"
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

// The production of a definition whose axiom is Axiom repeated Count times.
std::unique_ptr<TDefinitionState> Rewritten(const TLines& lines, bool fits, size_t count = 0, char axiom = 'F')
{
    auto state = Parsed(lines);
    if (count) state->Production.assign(count, axiom);
    EXPECT_EQ(RewriteProduction(*state), fits);
    return state;
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
        // Far counts: 2^24 - 1 is the largest odd count a Single holds.
        {"far even count of a swap", {"2000000000", "90", "10", "AB", "A=B", "B=A", "@"}, "AB"},
        {"far odd count of a swap", {"16777215", "90", "10", "AB", "A=B", "B=A", "@"}, "BA"},
        {"far count, then the fractional step", {"1000.5", "90", "10", "C", "C=D", "D=E", "E=C", "@"}, "@E@"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Rewritten(c.Lines, true)->Production, c.Production);
    }
}

TEST(RewriteProduction, LimitIsOnTheSumOfTheOrdinarySuccessorLengths)
{
    const TLines copy = {"1", "90", "10", "F", "@"};
    EXPECT_EQ(Rewritten(copy, true, 2'000'000)->Production.size(), 2'000'000u);
    // One more, and the part built before the failing character stays.
    EXPECT_EQ(Rewritten(copy, false, 2'000'001)->Production.size(), 2'000'000u);
    // The fractional step counts only the F of "@F@".
    EXPECT_EQ(Rewritten({"0.5", "90", "10", "X", "X=F", "@"}, true, 1'000'000, 'X')->Production.size(), 3'000'000u);
    // The insertion directive's text counts too.
    EXPECT_EQ(Rewritten({"0", "90", "10", "A", "@(A,xxxxxxxxxx)"}, false, 200'000, 'A')->Production.size(), 200'000u);
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

TEST(EstimateOutputSize, CountsSegmentsAndPolygons)
{
    EXPECT_EQ(EstimateOutputSize("FZf}QRW{"), 2 * 2080 + 541);
    EXPECT_EQ(FormatEstimate(5'000'001), "5,000,001");
    EXPECT_EQ(FormatEstimate(123'456'789), "123,456,792"); // rounded to a Single first
    EXPECT_EQ(FormatEstimate(999), "999");
}

TEST(BuildProduction, AsksAboutLargeOutputOnlyAboveTheLimitAndNoStops)
{
    // Estimates of exactly 5,000,000 (2279 x 2080 + 480 x 541) and 5,000,001 (1899 x 2080 + 1941 x 541).
    for (const auto& [segments, polygons, asks] : {std::tuple{2279, 480, false}, std::tuple{1899, 1941, true}}) {
        SCOPED_TRACE(asks);
        auto state = Parsed({"0", "90", "10", "F", "@"});
        state->Production = std::string(segments, 'F') + std::string(polygons, '}');
        TScriptedPrompt prompt;
        prompt.Answers = {TAnswer::Yes};
        EXPECT_TRUE(BuildProduction(*state, prompt));
        EXPECT_EQ(prompt.Questions,
                  asks ? std::vector<std::string>{"Estimated Output File Size: 5,000,001\r\nDo you wish to continue?"}
                       : std::vector<std::string>{});
    }
    auto large = Parsed({"0", "90", "10", "F", "@"});
    large->Production.assign(3000, 'F');
    TScriptedPrompt no;
    EXPECT_FALSE(BuildProduction(*large, no));
}

// Unbalanced brackets and solids whose setting is off, from tests/data/production_warnings.txt.
TEST(ProductionWarnings, FollowTheTable)
{
    const std::vector<std::string> rows = test::TableRows(VERDEL_FIXTURES "/production_warnings.txt");
    EXPECT_EQ(rows.size(), 11u);
    for (std::string row : rows) {
        SCOPED_TRACE(row);
        const std::string production = test::TakeField(row), on = test::TakeField(row);
        const TSolidSettings solids{true, on.find('Q') != std::string::npos, on.find('W') != std::string::npos,
                                    on.find('R') != std::string::npos};
        std::vector<std::string> warnings;
        while (row != "none" && !row.empty()) warnings.push_back(test::TakeField(row, " ; "));
        EXPECT_EQ(ProductionWarnings(production, solids), warnings);
    }
}
