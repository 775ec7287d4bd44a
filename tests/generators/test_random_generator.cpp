#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <span>

#include "engine/definition.h"
#include "engine/generation.h"
#include "generators/random_generator.h"
#include "support/scripted_prompt.h"

using namespace verdel;
using verdel::test::TScriptedPrompt;

namespace {

int Number(const std::string& line) { return std::stoi(line); }

} // namespace

TEST(RandomGenerator, CreationSeedsTheSourceAndSetsDefaults)
{
    TRandomSource random;
    TRandomGenerator generator(random, 1234);
    EXPECT_EQ(random.Seed, 1234u);
    EXPECT_EQ(generator.Memo, TLines{""});
    EXPECT_EQ(generator.Position(rbRules), 16);
    EXPECT_EQ(generator.Position(rbPolys), 9);

    generator.SetPosition(rbRuleLength, 99);
    EXPECT_EQ(generator.Position(rbRuleLength), 20);
    generator.SetPosition(rbDraw, -3);
    EXPECT_EQ(generator.Position(rbDraw), 2);

    TRandomGenerator clocked(random);
    EXPECT_LT(random.Seed, 86'400'000u) << "milliseconds since midnight";
}

TEST(RandomGenerator, GoWritesNumbersAxiomRulesAndEnd)
{
    for (uint32_t seed = 0; seed < 200; ++seed) {
        SCOPED_TRACE(seed);
        TRandomSource random;
        TRandomGenerator generator(random, seed);
        ASSERT_FALSE(generator.Go());
        const TLines& memo = generator.Memo;
        const int n = generator.RuleCount;
        ASSERT_EQ(memo.size(), static_cast<size_t>(n) + 5);
        EXPECT_TRUE(n >= 2 && n <= 17);
        EXPECT_TRUE(Number(memo[0]) >= 2 && Number(memo[0]) <= 9);
        EXPECT_TRUE(Number(memo[1]) >= 1 && Number(memo[1]) <= 89);
        EXPECT_TRUE(Number(memo[2]) >= 10 && Number(memo[2]) <= 199);
        EXPECT_EQ(memo[3], generator.Axiom);
        EXPECT_EQ(memo.back(), "@");
        for (int k = 1; k <= n; ++k) {
            const char name = k == 6 ? memo[9][0] : "ABCDEGHIJKLMNOPQRS"[k - 1];
            EXPECT_EQ(memo[static_cast<size_t>(k) + 3].substr(0, 1), std::string(1, name));
        }
        // The edits show what was drawn.
        EXPECT_EQ(generator.Locks[rlIterations].Text, memo[0]);
        EXPECT_EQ(generator.Locks[rlRules].Text, std::to_string(n));
        EXPECT_EQ(generator.Locks[rlAxiom].Text, memo[3]);
    }
}

TEST(RandomGenerator, SameSeedAndSettingsComposeTheSameText)
{
    TRandomSource random;
    TRandomGenerator first(random, 42);
    first.SetPosition(rbBranch, 3);
    ASSERT_FALSE(first.Go());
    const TLines firstText = first.Memo;
    first.Go();
    EXPECT_NE(first.Memo, firstText) << "a second Go goes on with the sequence";

    TRandomGenerator second(random, 42);
    second.SetPosition(rbBranch, 3);
    second.Go();
    EXPECT_EQ(second.Memo, firstText);
}

TEST(RandomGenerator, ComposedRulesAreClosedWovenAndColoured)
{
    // What the three passes over the rule lines promise, over many texts:
    // every "[" and "{" is closed after it, every rule letter is used by some
    // rule line, and every "c" carries an explicit colour from 1 to 11.
    TRandomSource random;
    TRandomGenerator generator(random, 0);
    for (int press = 0; press < 500; ++press) {
        SCOPED_TRACE(press);
        generator.Randomize();
        ASSERT_FALSE(generator.Go());
        const std::span<const std::string> rules(generator.Memo.begin() + 4, generator.Memo.end() - 1);
        ASSERT_EQ(static_cast<int>(rules.size()), generator.RuleCount);
        std::string successors;
        for (const std::string& rule : rules) {
            // The predecessor may carry a parameter of its own: "Q(110.00)=...".
            const size_t equals = rule.find('=');
            ASSERT_NE(equals, std::string::npos) << rule;
            const std::string body = rule.substr(equals + 1);
            successors += body;
            for (const auto& [open, close] : {std::pair{'[', ']'}, std::pair{'{', '}'}}) {
                const size_t lastOpen = body.rfind(open);
                if (lastOpen == std::string::npos) continue;
                const auto opens = std::count(body.begin(), body.end(), open);
                const auto closesAfter = std::count(body.begin() + static_cast<long>(lastOpen), body.end(), close);
                EXPECT_GE(closesAfter, opens) << rule;
            }
            for (size_t i = body.find('c'); i != std::string::npos; i = body.find('c', i + 1)) {
                ASSERT_LT(i + 2, body.size()) << rule;
                EXPECT_EQ(body[i + 1], '(') << rule;
                const int colour = std::atoi(body.c_str() + i + 2);
                EXPECT_TRUE(colour >= 1 && colour <= 11) << rule;
            }
        }
        for (int k = 1; k <= generator.RuleCount; ++k)
            EXPECT_NE(successors.find(RuleLetter(k)), std::string::npos) << "rule letter " << RuleLetter(k);
    }
}

TEST(RandomGenerator, RuleBarBoundsTheRuleCount)
{
    const struct {
        int Bar;
        int Low;
        int High;
    } cases[] = {{0, 2, 2}, {16, 2, 17}, {18, 2, 18}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Bar);
        int highest = 0;
        for (uint32_t seed = 0; seed < 400; ++seed) {
            TRandomSource random;
            TRandomGenerator generator(random, seed);
            generator.SetPosition(rbRules, c.Bar);
            generator.Go();
            EXPECT_GE(generator.RuleCount, c.Low);
            EXPECT_LE(generator.RuleCount, c.High);
            highest = std::max(highest, generator.RuleCount);
            if (generator.RuleCount >= 17) {
                EXPECT_EQ(generator.Memo[3].find_first_of("BCD"), std::string::npos);
            }
        }
        EXPECT_EQ(highest, c.High) << "a drawn count of 19 is capped at 18";
    }
}

TEST(RandomGenerator, LocksAreUsedAsTyped)
{
    TRandomSource random;
    TRandomGenerator generator(random, 5);
    generator.Locks[rlIterations] = {true, "10"};
    generator.Locks[rlAngle] = {true, "90"};
    generator.Locks[rlThickness] = {true, "200"};
    generator.Locks[rlRules] = {true, "3"};
    generator.Locks[rlAxiom] = {true, "F [B]"};
    ASSERT_FALSE(generator.Go());
    ASSERT_EQ(generator.Memo.size(), 8u);
    EXPECT_EQ(TLines(generator.Memo.begin(), generator.Memo.begin() + 4), (TLines{"10", "90", "200", "F [B]"}));
    EXPECT_EQ(generator.Locks[rlAxiom].Text, "F [B]");
}

TEST(RandomGenerator, LockedTextThatIsNotANumberStopsGo)
{
    TRandomSource random;
    TRandomGenerator generator(random, 9);
    generator.Memo = {"earlier", "text"};
    generator.Locks[rlAngle] = {true, ""};
    EXPECT_EQ(generator.Go(), "'' is not a valid integer value");
    EXPECT_EQ(generator.Memo, (TLines{"earlier", "text"}));
    EXPECT_FALSE(generator.Locks[rlIterations].Text.empty()) << "the iterations were drawn before the angle was read";

    generator.Locks[rlAngle] = {true, "12"};
    generator.Locks[rlRules] = {true, "4.5"};
    EXPECT_EQ(generator.Go(), "'4.5' is not a valid integer value");
    generator.Locks[rlRules].Checked = false;
    EXPECT_FALSE(generator.Go());
    EXPECT_EQ(generator.Memo[1], "12");
}

TEST(RandomGenerator, EditsAreCheckedWhenLeft)
{
    const struct {
        TRandomLock Lock;
        const char* Text;
        const char* Message; // empty: accepted
        const char* After;
    } cases[] = {
        {rlIterations, "10", "", "10"},
        {rlIterations, "11", "11 is not acceptable\r\nValid entries are 1 thru 10", "1"},
        {rlIterations, "abc", "abc is not acceptable\r\nValid entries are 1 thru 10", "1"},
        {rlAngle, "90", "", "90"},
        {rlAngle, "0", "0 is not acceptable\r\nValid entries are 1 thru 90", "1"},
        {rlThickness, "9", "9 is not acceptable\r\nValid entries are 10 thru 200", "10"},
        {rlThickness, "200", "", "200"},
        {rlRules, "13", "13 is not acceptable\r\nValid entries are 2 thru 12", "2"},
        {rlRules, "", " is not acceptable\r\nValid entries are 2 thru 12", "2"},
        {rlAxiom, "", "", ""},
    };
    TRandomSource random;
    TRandomGenerator generator(random, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(RandomLocks[c.Lock].Name) + " " + c.Text);
        generator.Locks[c.Lock].Text = c.Text;
        EXPECT_EQ(generator.CheckEdit(c.Lock).value_or(""), c.Message);
        EXPECT_EQ(generator.Locks[c.Lock].Text, c.After);
    }
    EXPECT_EQ(random.Seed, 0u) << "checks draw nothing";
}

TEST(RandomGenerator, RandomizeMovesBarsBelowTheirMaximumOnly)
{
    TRandomSource random;
    TRandomGenerator generator(random, 77);
    generator.Go();
    const TLines memo = generator.Memo;
    std::array<int, RandomBarCount> lowest{}, highest{};
    lowest.fill(100);
    for (int press = 0; press < 300; ++press) {
        generator.Randomize();
        for (int bar = 0; bar < RandomBarCount; ++bar) {
            lowest[bar] = std::min(lowest[bar], generator.Position(TRandomBar(bar)));
            highest[bar] = std::max(highest[bar], generator.Position(TRandomBar(bar)));
        }
    }
    for (int bar = 0; bar < RandomBarCount; ++bar) {
        SCOPED_TRACE(RandomBars[bar].Name);
        EXPECT_EQ(lowest[bar], RandomBars[bar].Min);
        EXPECT_EQ(highest[bar], RandomBars[bar].Max - 1);
    }
    EXPECT_EQ(generator.Memo, memo);
}

TEST(RandomGenerator, EveryComposedTextIsValid)
{
    TRandomSource random;
    TRandomGenerator generator(random, 0);
    for (int press = 0; press < 2000; ++press) {
        if (press % 2) generator.Randomize();
        ASSERT_FALSE(generator.Go());
        std::string errorText;
        ASSERT_TRUE(ValidateDefinition(generator.Memo, errorText)) << errorText;
    }
}

TEST(RandomGenerator, EveryComposedTextGenerates)
{
    auto state = std::make_unique<TDefinitionState>();
    auto store = std::make_unique<TFaceStore>();
    TRandomSource random;
    TRandomGenerator generator(random, 0);
    // Four rewriting steps keep every model small; all other values are drawn.
    generator.Locks[rlIterations] = {true, "4"};
    for (int press = 0; press < 300; ++press) {
        SCOPED_TRACE(press);
        generator.Randomize();
        ASSERT_FALSE(generator.Go());
        TScriptedPrompt prompt;
        prompt.Answers.assign(4, TAnswer::Yes);
        TRandomSource turtleRandom;
        const TGenerationResult result =
            GenerateModel(generator.Memo, TSolidSettings{}, prompt, *state, *store, turtleRandom);
        ASSERT_EQ(result.Status, TGenerationStatus::Done) << result.Message;
        EXPECT_TRUE(prompt.Messages.empty());
    }
}
