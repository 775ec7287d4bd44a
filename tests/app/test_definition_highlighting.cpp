#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/definition_highlighting.h"
#include "app/extended_highlighting.h"
#include "support/files.h"

using namespace verdel;

namespace {

using K = THighlightKind;

// The kinds by name, in the order of THighlightKind.
const std::vector<std::string> KindNames = {"Comment", "Value",     "Axiom",     "Predecessor", "Draw",
                                            "Move",    "Turn",      "Change",    "Structure",   "Special",
                                            "Parameter", "EndLine", "Directive", "Ignored",     "Context",
                                            "Separator", "Condition", "Weight",  "Error"};

} // namespace

// The table of lines and their colours is tests/data/highlighting.txt.
TEST(HighlightLine, ColoursEachPartByWhereTheLineStands)
{
    const std::vector<std::string> rows = test::TableRows(VERDEL_FIXTURES "/highlighting.txt");
    EXPECT_EQ(rows.size(), 25u);
    for (const std::string& row : rows) {
        SCOPED_TRACE(row);
        std::string rest = row;
        const std::string position = test::TakeField(rest), line = test::TakeField(rest);
        const TLinePosition before{std::stoi(position), position.back() == 'e', position.back() == 'x'};
        std::vector<THighlightSpan> spans;
        std::istringstream in(rest);
        for (std::string kind; in >> spans.emplace_back().Start >> spans.back().Length >> kind;) {
            if (kind.back() == ',') kind.pop_back();
            const auto named = std::find(KindNames.begin(), KindNames.end(), kind);
            ASSERT_NE(named, KindNames.end()) << kind;
            spans.back().Kind = static_cast<K>(named - KindNames.begin());
        }
        spans.pop_back();
        EXPECT_EQ(HighlightLine(line, before), spans);
    }
    EXPECT_TRUE(HighlightLine("", {5, false}).empty());
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
