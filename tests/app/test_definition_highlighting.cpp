#include <gtest/gtest.h>

#include "app/definition_highlighting.h"
#include "app/extended_highlighting.h"

using namespace verdel;

namespace {

using K = THighlightKind;

constexpr TLinePosition FirstLine{0, false};
constexpr TLinePosition SecondValue{1, false};
constexpr TLinePosition AxiomLine{3, false};
constexpr TLinePosition RuleLine{4, false};
constexpr TLinePosition LaterRule{5, false};
constexpr TLinePosition AfterEnd{5, true};
constexpr TLinePosition Extended0{0, false, true};
constexpr TLinePosition Extended3{3, false, true};
constexpr TLinePosition Extended4{4, false, true};
constexpr TLinePosition Extended5{5, false, true};

} // namespace

TEST(HighlightLine, ColoursEachPartByWhereTheLineStands)
{
    struct TCase {
        const char* Line;
        TLinePosition Before;
        std::vector<THighlightSpan> Spans;
    };
    const std::vector<TCase> cases = {
        {"# tree", FirstLine, {{0, 6, K::Comment}}},
        {"# a comment among rules", LaterRule, {{0, 23, K::Comment}}},
        {"22,5 # angle", SecondValue, {{0, 4, K::Value}, {4, 8, K::Comment}}},
        {"x5", FirstLine, {{0, 2, K::Error}}},
        {"-1", SecondValue, {{0, 2, K::Error}}},
        // The axiom: commands by family, a parameter, the symbols that are no command.
        {"+(90)A F", AxiomLine, {{0, 1, K::Turn}, {1, 4, K::Parameter}, {5, 1, K::Axiom}, {7, 1, K::Draw}}},
        // A rule: predecessor and "=", the successor's commands, then what the rule does not keep.
        {"A=F[&FL!A]>>>>'c(3) # grow",
         RuleLine,
         {{0, 2, K::Predecessor},
          {2, 1, K::Draw},
          {3, 1, K::Structure},
          {4, 1, K::Turn},
          {5, 1, K::Draw},
          {7, 1, K::Change},
          {9, 1, K::Structure},
          {10, 4, K::Turn},
          {14, 2, K::Change},
          {16, 3, K::Parameter},
          {19, 7, K::Comment}}},
        {"L={f.g}", LaterRule, {{0, 2, K::Predecessor}, {2, 1, K::Structure}, {3, 3, K::Move}, {6, 1, K::Structure}}},
        {"F-F", LaterRule, {{0, 1, K::Predecessor}, {1, 1, K::Error}, {2, 1, K::Draw}}},
        {" F=F", LaterRule, {{0, 4, K::Error}}},
        {"/F=F", LaterRule, {{0, 4, K::Error}}},
        {"@", LaterRule, {{0, 1, K::EndLine}}},
        {"@(A,[+F])", LaterRule, {{0, 9, K::Directive}}},
        {"@", AxiomLine, {{0, 1, K::Special}}}, // the fourth line is the axiom, whatever it holds
        {"free text F=F", AfterEnd, {{0, 13, K::Ignored}}},
        {"", LaterRule, {}},
        // An extended definition's forms: directives, contexts, separators, conditions, weights.
        {"#extended", Extended0, {{0, 9, K::Directive}}},
        {"#define a 18.95 [0, 90]",
         Extended0,
         {{0, 7, K::Directive}, {8, 1, K::Predecessor}, {10, 5, K::Value}, {16, 7, K::Parameter}}},
        {"#ignore +-F", Extended0, {{0, 7, K::Directive}, {8, 3, K::Context}}},
        {"# a note", Extended4, {{0, 8, K::Comment}}},
        {"2*a # steps", Extended0, {{0, 3, K::Value}, {4, 7, K::Comment}}},
        {"+(90)F(200)A(1,2)",
         Extended3,
         {{0, 1, K::Turn},
          {1, 4, K::Parameter},
          {5, 1, K::Draw},
          {6, 5, K::Parameter},
          {11, 1, K::Axiom},
          {12, 5, K::Parameter}}},
        {"B(m) < A(x,y) > [C]D : x > m --> F(x*2)A(x,y) : 0.5 # w",
         Extended4,
         {{0, 1, K::Context},
          {1, 3, K::Parameter},
          {5, 1, K::Separator},
          {7, 1, K::Predecessor},
          {8, 5, K::Parameter},
          {14, 1, K::Separator},
          {16, 4, K::Context},
          {21, 1, K::Separator},
          {23, 5, K::Condition},
          {29, 3, K::Separator},
          {33, 1, K::Draw},
          {34, 5, K::Parameter},
          {39, 1, K::Axiom},
          {40, 5, K::Parameter},
          {46, 1, K::Separator},
          {48, 3, K::Weight},
          {52, 3, K::Comment}}},
        {"A --> B", Extended5, {{0, 1, K::Predecessor}, {2, 3, K::Separator}, {6, 1, K::Axiom}}},
        {"A(x) F(x)", Extended5, {{0, 9, K::Error}}},
        {"A --> F junk", Extended5, {{0, 1, K::Predecessor}, {2, 3, K::Separator}, {6, 1, K::Draw}, {8, 4, K::Error}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Line);
        EXPECT_EQ(HighlightLine(c.Line, c.Before), c.Spans);
    }
}

TEST(NextPosition, FollowsTheReaderThroughADefinition)
{
    const std::vector<std::string> lines = {"# c", "3", "90", "10", "@", "# r", "A=B", "X=Y", "@", "tail", "@"};
    const std::vector<TLinePosition> before = {
        {0, false}, {0, false}, {1, false}, {2, false}, {3, false}, {4, false},
        {4, false}, {5, false}, {5, false}, {5, true},  {5, true},
    };
    TLinePosition position;
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_EQ(position, before[i]);
        position = NextPosition(lines[i], position);
    }
}

TEST(MatchingBracket, FindsThePartnerOfTheSameKindOnTheLine)
{
    struct TCase {
        const char* Line;
        int Position;
        std::optional<int> Partner;
    };
    const TCase cases[] = {
        {"F[+F[-F]]", 1, 8},     {"F[+F[-F]]", 4, 7},    {"F[+F[-F]]", 8, 1}, {"F[+F[-F]]", 0, std::nullopt},
        {"F[", 1, std::nullopt}, {"c(3)", 1, 3},         {"{[}]", 0, 2},      {"{[}]", 3, 1},
        {"F]", 1, std::nullopt}, {"F", 5, std::nullopt},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Line) + " at " + std::to_string(c.Position));
        EXPECT_EQ(MatchingBracket(c.Line, c.Position), c.Partner);
    }
}

// Where the extended reader's first fault is underlined.
TEST(ExtendedFaultMark, UnderlinesTheWordAtTheFaultsColumn)
{
    const TLines faulty = {"#extended", "2", "30", "10", "A(1)", "A(x) --> F(y)", "@"};
    const std::optional<TFaultMark> mark = ExtendedFaultMark(faulty);
    ASSERT_TRUE(mark);
    EXPECT_EQ(std::pair(mark->Line, mark->Column), std::pair(6, 12));
    EXPECT_EQ(FaultSpan(faulty[5], mark->Column), (THighlightSpan{11, 2, K::Error}));
    EXPECT_FALSE(ExtendedFaultMark({"2", "30", "10", "A", "A=", "@"}));
}
