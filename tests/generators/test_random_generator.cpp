// The random generator checked by what every composed text must be, over
// many presses with drawn bars and locks; its exact texts for fixed seeds are
// in test_generator_texts.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/definition.h"
#include "generators/random_generator.h"
#include "support/models.h"

using namespace verdel;

namespace {

// The rule letters in rule order, and the commands each kind of parameter follows.
const std::string Letters = "ABCDEGHIJKLMNOPSTU";
const std::string Angles = "&+-<>^t~", Increments = "!\"':;?", Lengths = "FQRWZfz";

// Whether every Close has its Open before it and none stays open.
bool Balanced(const std::string& text, char open, char close)
{
    int depth = 0;
    for (const char c : text)
        if ((depth += (c == open) - (c == close)) < 0) return false;
    return depth == 0;
}

} // namespace

TEST(RandomGenerator, EveryComposedTextKeepsThePromisesOfItsPasses)
{
    // Every fifth press locks all five values to one of these; the rule count 25 is capped at 18.
    const std::array<std::array<const char*, RandomLockCount>, 3> locks = {
        {{"10", "90", "200", "12", "F[B]"}, {"1", "1", "10", "2", "A"}, {"3", "45", "50", "25", "AB[+C]"}}};
    const int barLow[] = {0, 5, 0, 2, 2, 1, 1, 0, 1}, barHigh[] = {18, 20, 4, 12, 12, 8, 10, 10, 10};
    std::array<std::set<int>, RandomBarCount> bars;
    std::array<std::set<int>, 3> numbers;
    std::set<std::string> increments, lengths;
    std::set<int> colours;
    int namedF = 0, capped = 0;
    TRandomSource random;
    TRandomGenerator generator(random, 0);
    for (int press = 0; press < 800; ++press) {
        SCOPED_TRACE(press);
        generator.Randomize();
        for (int bar = 0; bar < RandomBarCount; ++bar) bars[bar].insert(generator.Position(TRandomBar(bar)));
        if (press % 4 == 3) generator.SetPosition(rbRules, 99);
        const int ruleBar = generator.Position(rbRules);
        const bool locked = press % 5 == 4;
        const auto& lock = locks[static_cast<size_t>(press / 5 % 3)];
        for (int l = 0; l < RandomLockCount; ++l) generator.Locks[l] = {locked, locked ? lock[l] : ""};

        ASSERT_FALSE(generator.Go());
        const TLines& memo = generator.Memo;
        const int n = generator.RuleCount;
        ASSERT_EQ(memo.size(), static_cast<size_t>(n) + 5);
        EXPECT_EQ(memo.back(), "@");
        std::string errorText;
        ASSERT_TRUE(ValidateDefinition(memo, errorText)) << errorText;
        if (locked) {
            for (int l = 0; l < 5; ++l) EXPECT_EQ(generator.Locks[l].Text, lock[l]) << "locks keep their text";
            EXPECT_EQ(TLines(memo.begin(), memo.begin() + 4), (TLines{lock[0], lock[1], lock[2], lock[4]}));
            EXPECT_EQ(n, std::min(std::stoi(lock[3]), 18));
        } else {
            // Drawn: 2 + R(8) iterations, 1 + R(89) degrees, 10 + R(190) thickness, 2 + R(bar) rules up to 18.
            for (int v = 0; v < 3; ++v) numbers[v].insert(std::stoi(memo[v]));
            EXPECT_TRUE(n >= 2 && n <= std::min(18, std::max(2, ruleBar + 1))) << n << " rules, bar " << ruleBar;
            capped += n == 18;
            // The edits show what was drawn.
            EXPECT_EQ(generator.Locks[rlIterations].Text, memo[0]);
            EXPECT_EQ(generator.Locks[rlRules].Text, std::to_string(n));
            EXPECT_EQ(generator.Locks[rlAxiom].Text, memo[3]);

            // The axiom: runs of A (1 to 4) and of up to three more letters (0 to 3 each, by the
            // rule count), shuffled with the highest letter kept last, then brackets and turns.
            const std::string& axiom = memo[3];
            std::string letters;
            for (const char c : axiom)
                if (std::isupper(static_cast<unsigned char>(c))) letters += c;
            const std::string allowed = n >= 17 ? "AX" : n >= 8 ? "ABCD" : n >= 5 ? "ABC" : "AB";
            EXPECT_EQ(letters.find_first_not_of(allowed), std::string::npos) << axiom;
            for (const char letter : allowed)
                EXPECT_LE(std::count(letters.begin(), letters.end(), letter), n >= 17 ? 1 : letter == 'A' ? 4 : 3);
            EXPECT_EQ(axiom.back(), *std::max_element(letters.begin(), letters.end())) << axiom;
            EXPECT_TRUE(Balanced(axiom, '[', ']')) << axiom;
            EXPECT_EQ(axiom.find('<'), std::string::npos) << axiom;
            EXPECT_EQ(Angles.find(axiom.front()), std::string::npos) << axiom;
        }

        for (int k = 1; k <= n; ++k) {
            const std::string& rule = memo[static_cast<size_t>(k) + 3];
            SCOPED_TRACE(rule);
            // Rule 6 is G, or F one time in four.
            const char name = k == 6 && rule[0] == 'F' ? 'F' : "ABCDEGHIJKLMNOPQRS"[k - 1];
            EXPECT_EQ(rule[0], name);
            namedF += name == 'F';
            const size_t equals = rule.find('=');
            ASSERT_NE(equals, std::string::npos);
            const std::string body = rule.substr(equals + 1);
            EXPECT_TRUE(Balanced(body, '[', ']') && Balanced(body, '{', '}'));
            // Every rule letter is used by an earlier rule (A by rule 1).
            const char letter = Letters[static_cast<size_t>(k) - 1];
            bool used = false;
            for (int j = 1; j <= std::max(1, k - 1); ++j)
                used = used || memo[static_cast<size_t>(j) + 3].find(letter, 2) != std::string::npos;
            EXPECT_TRUE(used) << "rule letter " << letter;
            // Every "c" carries a colour 1 to 11; other parameters stay in their ranges.
            for (size_t i = 0; i < rule.size(); ++i) {
                if (rule[i] == 'c') {
                    ASSERT_EQ(rule[i + 1], '(');
                    const int colour = std::stoi(rule.substr(i + 2));
                    EXPECT_TRUE(colour >= 1 && colour <= 11);
                    colours.insert(colour);
                }
                if (rule[i] != '(' || rule[i - 1] == 'c') continue;
                const std::string value = rule.substr(i + 1, rule.find(')', i) - i - 1);
                const int angle = generator.Angle;
                if (Angles.find(rule[i - 1]) != std::string::npos) {
                    EXPECT_GE(std::stoi(value), angle);
                    EXPECT_LE(std::stoi(value), angle >= 45 ? std::min(90, 2 * angle - 1) : 89);
                } else if (Increments.find(rule[i - 1]) != std::string::npos) {
                    increments.insert(value);
                } else {
                    ASSERT_NE(Lengths.find(rule[i - 1]), std::string::npos);
                    lengths.insert(value);
                }
            }
        }
        // Small enough texts are generated whole.
        TGenerationResult result;
        if (generator.Iterations <= 4) verdel::test::GenerateStore(memo, {}, &result);
        EXPECT_TRUE(result.Status == TGenerationStatus::Done && result.Message.empty()) << result.Message;
    }
    // Randomize: Min + R(Max - Min), so a bar takes every position but its maximum.
    for (int bar = 0; bar < RandomBarCount; ++bar)
        EXPECT_TRUE(*bars[bar].begin() == barLow[bar] && bars[bar].size() == size_t(barHigh[bar] - barLow[bar]))
            << RandomBars[bar].Name;
    for (int v = 0; v < 3; ++v)
        EXPECT_EQ(std::make_pair(*numbers[v].begin(), *numbers[v].rbegin()), (std::array<std::pair<int, int>, 3>{
                                                                                 {{2, 9}, {1, 89}, {10, 199}}})[v]);
    EXPECT_GT(capped, 0) << "a drawn count of 19 is capped at 18";
    EXPECT_GT(namedF, 0);
    EXPECT_EQ(colours.size(), 11u);
    // Increments 1 + 0.1 s and lengths 100 + 10 s for s from -4 to 5, every one drawn.
    std::set<std::string> allIncrements, allLengths;
    for (int s = -4; s <= 5; ++s) {
        allIncrements.insert((s < 0 ? "0." : "1.") + std::to_string(s < 0 ? 10 + s : s) + "0");
        allLengths.insert(std::to_string(100 + 10 * s) + ".00");
    }
    EXPECT_EQ(increments, allIncrements);
    EXPECT_EQ(lengths, allLengths);
}

TEST(RandomGenerator, EditsAreCheckedAgainstTheirRangesAndNotANumberStopsGo)
{
    const struct {
        TRandomLock Lock;
        int Low, High;
    } ranges[] = {{rlIterations, 1, 10}, {rlAngle, 1, 90}, {rlThickness, 10, 200}, {rlRules, 2, 12}};
    TRandomSource random;
    TRandomGenerator generator(random, 0);
    for (const auto& r : ranges) {
        const std::string low = std::to_string(r.Low), high = std::to_string(r.High);
        for (const std::string& text : {low, high, std::to_string(r.Low - 1), std::to_string(r.High + 1), std::string("x")}) {
            SCOPED_TRACE(std::string(RandomLocks[r.Lock].Name) + " " + text);
            const bool good = text == low || text == high;
            generator.Locks[r.Lock].Text = text;
            EXPECT_EQ(generator.CheckEdit(r.Lock).value_or("accepted"),
                      good ? "accepted" : text + " is not acceptable\r\nValid entries are " + low + " thru " + high);
            EXPECT_EQ(generator.Locks[r.Lock].Text, good ? text : low) << "reset to the low bound";
        }
    }
    generator.Locks[rlAxiom].Text = "";
    EXPECT_EQ(generator.CheckEdit(rlAxiom), std::nullopt);
    EXPECT_EQ(random.Seed, 0u) << "checks draw nothing";
    TRandomGenerator clocked(random);
    EXPECT_LT(random.Seed, 86'400'000u) << "without a seed: milliseconds since midnight";

    // A locked edit that is not a whole number stops Go and leaves the memo as it was.
    generator.Memo = {"earlier"};
    generator.Locks[rlAngle] = {true, "4.5"};
    EXPECT_EQ(generator.Go(), "'4.5' is not a valid integer value");
    EXPECT_EQ(generator.Memo, TLines{"earlier"});
    generator.Locks[rlAngle] = {true, "12"};
    ASSERT_FALSE(generator.Go());
    EXPECT_EQ(generator.Memo[1], "12");
}
