#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "generators/random_rules.h"

using namespace verdel;

namespace {

// Whether every closer of the pair has an opener before it and none stays open.
bool Balanced(const std::string& text, char open, char close)
{
    int depth = 0;
    for (char c : text) {
        if (c == open) ++depth;
        if (c == close && --depth < 0) return false;
    }
    return depth == 0;
}

// All N rule lines of one Go's rule step, before the three passes.
std::vector<std::string> GenerateRules(int n, const TRuleWeights& weights, TRandomSource& random)
{
    std::string pool;
    std::vector<std::string> lines;
    for (int i = 1; i <= n; ++i) lines.push_back(GenerateRule(i, n, weights, pool, random));
    return lines;
}

const std::string RuleLetters = "ABCDEGHIJKLMNOPSTU";

} // namespace

TEST(GenerateRule, TheLastPoolEntryIsNeverDrawn)
{
    TRuleWeights weights;
    weights.Branch = 0;
    weights.Polys = 1;
    weights.Interaction = 0;
    for (uint32_t seed = 0; seed < 200; ++seed) {
        TRandomSource random{seed};
        for (const std::string& line : GenerateRules(12, weights, random)) {
            SCOPED_TRACE(line);
            EXPECT_EQ(line.find_first_of("{}[]"), std::string::npos);
            // Without interaction the rule letters reach the bodies only through the weave.
            EXPECT_EQ(line.find_first_of(RuleLetters, 2), std::string::npos);
            if (line[0] != 'F') {
                EXPECT_TRUE(line.size() >= 5 && line.size() <= 2 + 16u) << "body of 3 to 16";
            }
        }
    }
}

TEST(GenerateRule, RulesAreNamedAndBalanced)
{
    int namedF = 0;
    int emptyF = 0;
    for (uint32_t seed = 0; seed < 1000; ++seed) {
        TRandomSource random{seed};
        const std::vector<std::string> lines = GenerateRules(18, TRuleWeights{}, random);
        for (size_t k = 0; k < lines.size(); ++k) {
            SCOPED_TRACE(lines[k]);
            const char name = k == 5 ? lines[k][0] : "ABCDEGHIJKLMNOPQRS"[k];
            EXPECT_EQ(lines[k].substr(0, 2), std::string(1, name) + "=");
            EXPECT_TRUE(Balanced(lines[k], '[', ']'));
            EXPECT_TRUE(Balanced(lines[k], '{', '}'));
        }
        ASSERT_TRUE(lines[5][0] == 'G' || lines[5][0] == 'F');
        namedF += lines[5][0] == 'F';
        emptyF += lines[5] == "F=";
    }
    EXPECT_GT(namedF, 150) << "one time in four";
    EXPECT_LT(namedF, 350);
    EXPECT_GT(emptyF, 0) << "rule 6 named F may have an empty body";
}

TEST(CheckClosure, ClosesEveryOpenerAfterTheLast)
{
    const struct {
        const char* Line;
        char Opener;
        int Openers;
    } cases[] = {{"A=F[", '[', 0}, {"A=[F[", '[', 1}, {"A=[F[+F[FF", '[', 3}, {"B={F{ZZ", '{', 2}, {"F=", '[', 0}};
    for (const auto& c : cases) {
        for (uint32_t seed = 0; seed < 100; ++seed) {
            SCOPED_TRACE(std::string(c.Line) + " seed " + std::to_string(seed));
            TRandomSource random{seed};
            std::string line = c.Line;
            CheckClosure(line, c.Opener, random);
            const char closer = c.Opener == '[' ? ']' : '}';
            EXPECT_EQ(std::count(line.begin(), line.end(), c.Opener), c.Openers);
            EXPECT_EQ(std::count(line.begin(), line.end(), closer), c.Openers);
            EXPECT_TRUE(Balanced(line, c.Opener, closer)) << line;
            // Closers go in after the last opener only.
            if (c.Openers > 0) {
                EXPECT_GT(line.find(closer), line.rfind(c.Opener));
            }
            if (std::string(c.Line).back() == c.Opener) {
                EXPECT_NE(line.find('w'), std::string::npos) << line;
            }
        }
    }
    TRandomSource random;
    std::string empty = "F=";
    CheckClosure(empty, '[', random);
    EXPECT_EQ(empty, "F=");
    EXPECT_EQ(random.Seed, 0u) << "no opener, no draw";
}

TEST(CheckRuleWeave, EveryRuleLetterAppearsInAnEarlierRule)
{
    for (uint32_t seed = 0; seed < 300; ++seed) {
        SCOPED_TRACE(seed);
        TRandomSource random{seed};
        const std::vector<std::string> before = {"A=F", "B=F", "C=FF", "D=F+F", "E=F", "G=FF"};
        std::vector<std::string> lines = before;
        CheckRuleWeave(lines, random);
        EXPECT_NE(lines[0].find('A', 2), std::string::npos) << "rule 1's line always receives A and B";
        EXPECT_NE(lines[0].find('B', 2), std::string::npos);
        for (size_t m = 2; m <= lines.size(); ++m) {
            const char letter = RuleLetters[m - 1];
            EXPECT_TRUE(std::any_of(lines.begin(), lines.begin() + static_cast<long>(m) - 1,
                                    [&](const std::string& line) { return line.find(letter, 1) != std::string::npos; }))
                << letter;
        }
        // Letters go in after the "=" and never at the very end.
        for (size_t k = 0; k < lines.size(); ++k) {
            EXPECT_EQ(lines[k].substr(0, 2), before[k].substr(0, 2));
            EXPECT_EQ(lines[k].back(), before[k].back());
        }
    }
}

TEST(AddInResizing, ParametersStayInTheirRanges)
{
    const std::regex parameter(R"(([^()0-9.])\(([0-9.]+)\))");
    for (int angle : {1, 30, 44, 45, 60, 89}) {
        int angles = 0, increments = 0, lengths = 0;
        for (uint32_t seed = 0; seed < 200; ++seed) {
            TRandomSource random{seed};
            std::vector<std::string> lines = {"A=&+-<>^t~F", "B=!\"':;?", "F=QRWZfzF", "C=cgw"};
            AddInResizing(lines, angle, random);
            EXPECT_EQ(lines[3], "C=cgw");
            for (const std::string& line : lines) {
                for (std::sregex_iterator it(line.begin(), line.end(), parameter), end; it != end; ++it) {
                    SCOPED_TRACE(line);
                    const char command = (*it)[1].str()[0];
                    const std::string value = (*it)[2];
                    if (std::string("&+-<>^t~").find(command) != std::string::npos) {
                        ++angles;
                        EXPECT_GE(std::stoi(value), angle);
                        EXPECT_LE(std::stoi(value), std::min(90, angle >= 45 ? 2 * angle - 1 : 89));
                    } else if (std::string("!\"':;?").find(command) != std::string::npos) {
                        ++increments;
                        EXPECT_TRUE(std::regex_match(value, std::regex(R"((0\.[6-9]0|1\.[0-5]0))"))) << value;
                    } else {
                        ++lengths;
                        EXPECT_TRUE(std::regex_match(value, std::regex(R"(([6-9]0|1[0-4]0|150)\.00)"))) << value;
                        EXPECT_NE(std::string("FQRWZfz").find(command), std::string::npos);
                    }
                }
            }
        }
        // About one command in nine gets a parameter.
        EXPECT_GT(angles, 100);
        EXPECT_GT(increments, 80);
        EXPECT_GT(lengths, 150);
    }
}

TEST(AddInResizing, TheWalkStartsAtTheRuleName)
{
    bool named = false;
    for (uint32_t seed = 0; seed < 100 && !named; ++seed) {
        TRandomSource random{seed};
        std::vector<std::string> lines = {"F=g"};
        AddInResizing(lines, 30, random);
        named = lines[0].rfind("F(", 0) == 0;
        if (named) {
            EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(F\([0-9]+\.00\)=g)"))) << lines[0];
        }
    }
    EXPECT_TRUE(named);
}

TEST(CheckColors, EveryColourCommandGetsAnIndexFrom1To11)
{
    std::set<int> seen;
    const std::regex colour(R"(c\(([0-9]+)\))");
    for (uint32_t seed = 0; seed < 100; ++seed) {
        TRandomSource random{seed};
        std::vector<std::string> lines = {"A=cFc", "C=F"};
        CheckColors(lines, random);
        EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(A=c\([0-9]+\)Fc\([0-9]+\))"))) << lines[0];
        EXPECT_EQ(lines[1], "C=F");
        for (std::sregex_iterator it(lines[0].begin(), lines[0].end(), colour), end; it != end; ++it)
            seen.insert(std::stoi((*it)[1]));
    }
    EXPECT_EQ(seen, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}
