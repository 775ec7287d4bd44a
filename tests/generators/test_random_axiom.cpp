#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "generators/random_axiom.h"

using namespace verdel;

namespace {

// The axiom's letters with its brackets and turns removed.
std::string Letters(const std::string& axiom)
{
    std::string letters;
    for (char c : axiom)
        if (c >= 'A' && c <= 'Z') letters += c;
    return letters;
}

bool BracketsBalance(const std::string& text)
{
    int depth = 0;
    for (char c : text) {
        if (c == '[') ++depth;
        if (c == ']' && --depth < 0) return false;
    }
    return depth == 0;
}

} // namespace

TEST(RandomAxiom, CountBandsHaveTheirEdgesAt70And85And95)
{
    const struct {
        uint32_t Draw;
        int Lead;
    } bands[] = {{69, 1}, {70, 2}, {84, 2}, {85, 3}, {94, 3}, {95, 4}, {99, 4}};
    for (const auto& band : bands) {
        SCOPED_TRACE(band.Draw);
        uint32_t seed = 0;
        while (TRandomSource{seed}.Next(100) != band.Draw) ++seed;
        TRandomSource lead{seed};
        TRandomSource extra{seed};
        EXPECT_EQ(DrawLeadCount(lead), band.Lead);
        EXPECT_EQ(DrawExtraCount(extra), band.Lead - 1);
    }
}

TEST(RandomAxiom, ShuffleKeepsTheLastCharacterLast)
{
    for (const std::string text : {"AX", "AAB", "AABBBCCD", "ABCDABCD"}) {
        for (uint32_t seed = 0; seed < 200; ++seed) {
            SCOPED_TRACE(text + " seed " + std::to_string(seed));
            TRandomSource random{seed};
            const std::string shuffled = ShuffleAxiom(text, random);
            EXPECT_EQ(shuffled.back(), text.back());
            EXPECT_TRUE(std::is_permutation(shuffled.begin(), shuffled.end(), text.begin()));
        }
    }
}

TEST(RandomAxiom, BracketsBalanceAndTurnsStayInside)
{
    for (uint32_t seed = 0; seed < 500; ++seed) {
        SCOPED_TRACE(seed);
        TRandomSource random{seed};
        std::string text = "AAABBCD";
        AddAxiomBrackets(text, random);
        EXPECT_TRUE(BracketsBalance(text)) << text;
        EXPECT_EQ(Letters(text), "AAABBCD");
        EXPECT_EQ(text.back(), 'D');

        AddAxiomTurns(text, random);
        EXPECT_EQ(text.find('<'), std::string::npos) << "only the first five turns can be drawn";
        EXPECT_EQ(std::string("+-^&>").find(text.front()), std::string::npos) << "never in front";
        EXPECT_EQ(text.back(), 'D');
    }
}

TEST(RandomAxiom, LetterGroupsFollowTheRuleCount)
{
    const struct {
        int RuleCount;
        std::string Allowed;
        char LastGroup;
    } cases[] = {{2, "AB", 'B'}, {4, "AB", 'B'}, {5, "ABC", 'C'}, {7, "ABC", 'C'}, {8, "ABCD", 'D'}, {16, "ABCD", 'D'}};
    for (const auto& c : cases) {
        for (uint32_t seed = 0; seed < 300; ++seed) {
            SCOPED_TRACE("N " + std::to_string(c.RuleCount) + " seed " + std::to_string(seed));
            TRandomSource random{seed};
            const std::string axiom = CreateAxiom(c.RuleCount, random);
            const std::string letters = Letters(axiom);
            ASSERT_EQ(letters.find_first_not_of(c.Allowed), std::string::npos) << axiom;
            const auto as = std::count(letters.begin(), letters.end(), 'A');
            EXPECT_TRUE(as >= 1 && as <= 4) << axiom;
            // The last group drawn stays last through the shuffle.
            if (letters.find(c.LastGroup) != std::string::npos) {
                EXPECT_EQ(letters.back(), c.LastGroup) << axiom;
            }
            EXPECT_TRUE(BracketsBalance(axiom)) << axiom;
        }
    }
    for (uint32_t seed = 0; seed < 50; ++seed) {
        TRandomSource random{seed};
        EXPECT_EQ(Letters(CreateAxiom(17, random)), "AX");
    }
}
