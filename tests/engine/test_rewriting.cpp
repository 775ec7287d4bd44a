// Rewriting many steps at once must give exactly what taking the steps one by one gives.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "engine/rewriting.h"
#include "support/reference_rewriting.h"

using namespace verdel;

namespace {

using TRules = test::TRuleTexts;
using TResult = test::TReferenceResult;

// Steps taken one by one; nothing when neither a repeated string nor a refusal shows soon.
std::optional<TResult> Reference(const std::string& axiom, const TRules& plain, const TRules& last, int64_t steps,
                                 int64_t limit)
{
    return test::ReferenceRewrite(axiom, plain, last, steps, limit, 20'000'000);
}

TResult Rewrite(const std::string& axiom, const TRules& plain, const TRules& last, int64_t steps, int64_t limit)
{
    TTextTable plainTable;
    TTextTable lastTable;
    for (int c = 0; c < 256; ++c) {
        const auto code = static_cast<unsigned char>(c);
        plainTable.Set(code, plain[c], static_cast<int64_t>(plain[c].size()));
        lastTable.Set(code, last[c], static_cast<int64_t>(plain[c].size()));
    }
    TResult result;
    result.Text = axiom;
    const TCancelToken token;
    const TRewriteOutcome outcome = RewriteText(result.Text, plainTable, lastTable, steps, limit, token);
    result.Status = outcome.Status;
    result.Step = outcome.Step;
    return result;
}

// Identity for every character; the fractional table wraps nothing.
TRules Identity()
{
    TRules rules;
    for (int c = 0; c < 256; ++c) rules[c] = std::string(1, static_cast<char>(c));
    return rules;
}

// Identity for every character but the given ones.
TRules RulesOf(const std::vector<std::pair<char, std::string>>& rules)
{
    TRules table = Identity();
    for (const auto& [from, to] : rules) table[static_cast<unsigned char>(from)] = to;
    return table;
}

// A random rule set over a few letters: one-character chains (and so cycles),
// growing successors, erasing ones and identities, with "[" and "]" staying as they are.
struct TRandomSystem {
    TRules Plain = Identity();
    TRules Last = Identity();
    std::string Axiom;

    explicit TRandomSystem(std::mt19937& random)
    {
        const std::string letters = "ABCDEFGHIJKL";
        const int used = std::uniform_int_distribution<int>(2, static_cast<int>(letters.size()))(random);
        const std::string pool = letters.substr(0, static_cast<size_t>(used)) + "[]";
        auto pick = [&](int from) { return pool[std::uniform_int_distribution<int>(0, from - 1)(random)]; };
        for (int k = 0; k < used; ++k) {
            std::string successor;
            switch (std::uniform_int_distribution<int>(0, 9)(random)) {
            case 0: break; // erased
            case 1: successor = std::string(1, letters[k]); break;
            case 2:
            case 3: successor = std::string(1, letters[k]) + pick(used); break; // grows by one per step
            case 4: {
                const int length = std::uniform_int_distribution<int>(2, 5)(random);
                for (int i = 0; i < length; ++i) successor += pick(used + 2);
                break;
            }
            default: successor = std::string(1, pick(used)); break; // one-character chain
            }
            const auto code = static_cast<unsigned char>(letters[k]);
            Plain[code] = successor;
            Last[code] = random() % 2 ? "@" + successor + "@" : successor;
        }
        const int length = random() % 4 == 0 ? 200 + static_cast<int>(random() % 400) : 1 + random() % 12;
        for (int i = 0; i < length; ++i) Axiom += pick(used + 2);
    }
};

// A random system whose strings stay short however far it is rewritten:
// letters in cycles of several periods, each dropping the heads of chains that
// expand, or erase early, before they die out; the axiom holds cycle letters
// at several phases, chain letters and brackets, which stay as they are.
struct TBoundedSystem {
    TRules Plain = Identity();
    std::string Axiom;

    explicit TBoundedSystem(std::mt19937& random)
    {
        auto draw = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
        std::string pool = "[]";
        std::string heads;
        for (char c = 'a', chain = static_cast<char>(draw(1, 3)); chain > 0; --chain) {
            heads += c;
            for (int depth = draw(0, 4); depth > 0; --depth, ++c) Plain[c] = std::string(draw(0, 3), c + 1);
            Plain[c++] = "";
            pool += heads.back();
        }
        for (char first = 'A', cycle = static_cast<char>(draw(1, 3)); cycle > 0; --cycle) {
            const int period = draw(1, 5);
            for (int k = 0; k < period; ++k) {
                std::string successor(1, static_cast<char>(first + (k + 1) % period));
                for (int n = draw(0, 3); n > 0; --n)
                    successor.insert(successor.begin() + draw(0, static_cast<int>(successor.size())),
                                     heads[draw(0, static_cast<int>(heads.size()) - 1)]);
                Plain[first + k] = successor;
                pool += static_cast<char>(first + k);
            }
            first += period;
        }
        for (int n = draw(1, 10); n > 0; --n) Axiom += pool[draw(0, static_cast<int>(pool.size()) - 1)];
    }
};

void ExpectSame(const TResult& actual, const TResult& expected)
{
    EXPECT_EQ(actual.Status, expected.Status);
    EXPECT_EQ(actual.Step, expected.Step);
    EXPECT_EQ(actual.Text, expected.Text);
}

} // namespace

TEST(RewriteText, AgreesWithStepByStepRewritingOnRandomSystems)
{
    // Up to 40 steps every system compares; far counts the reference reaches
    // through the first repeated string or the refusal, and systems that show
    // neither soon are left out.
    const std::array<int64_t, 5> limits = {0, 7, 60, 600, 5000};
    const std::array<int64_t, 4> far = {4097, 180'181, 123'456'789, 2'000'000'000};
    int compared = 0;
    for (uint32_t seed = 1; seed <= 700; ++seed) {
        std::mt19937 random(seed);
        const TRandomSystem system(random);
        const bool farCount = seed > 400;
        const int64_t limit = farCount ? (random() % 2 ? 300 : 3000) : limits[random() % limits.size()];
        const int64_t steps = farCount ? far[random() % far.size()] : random() % 41;
        const TRules& last = random() % 3 == 0 ? system.Last : system.Plain;
        SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << steps << " steps, limit " << limit);
        const std::optional<TResult> expected = Reference(system.Axiom, system.Plain, last, steps, limit);
        if (!expected) {
            EXPECT_TRUE(farCount);
            continue;
        }
        ExpectSame(Rewrite(system.Axiom, system.Plain, last, steps, limit), *expected);
        ++compared;
    }
    EXPECT_GT(compared, 650);
}

TEST(RewriteText, BoundedSystemsAgreeWithTheCycleOfTheWholeString)
{
    // The longest string a system ever makes fits a limit of its length and
    // is refused one character below it; a slow grower beside the cycles
    // (Z=Z]) is refused where growth and swelling debris first meet the limit.
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed);
        TBoundedSystem system(random);
        const std::optional<TResult> free =
            test::ReferenceRewrite(system.Axiom, system.Plain, system.Plain, 2'000'000'000, 1 << 30, 100'000'000);
        ASSERT_TRUE(free.has_value());
        if (seed % 3 == 0) {
            system.Axiom += 'Z';
            system.Plain['Z'] = "Z]";
        }
        for (const int64_t limit : {free->Longest - 1, free->Longest, free->Longest + 300}) {
            for (const int64_t steps : {int64_t{2'000'000'000}, static_cast<int64_t>(1 + random() % 60)}) {
                SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << steps << " steps, limit " << limit);
                const std::optional<TResult> expected =
                    Reference(system.Axiom, system.Plain, system.Plain, steps, limit);
                ASSERT_TRUE(expected.has_value());
                ExpectSame(Rewrite(system.Axiom, system.Plain, system.Plain, steps, limit), *expected);
            }
        }
    }
}

// Systems made for the limit: growth of every rate is refused at its step (the
// first step longer than 1000 characters); P=QXX, Q=P, X erased alternate
// between one and three characters, so "PQ" is always four characters but
// each on its own reaches three, and a limit of 401 admits the strings and
// refuses their upper bound (a cycle of thirteen letters beside them gives
// the string a period of 26).
TEST(RewriteText, SystemsNearTheLimitAgreeWithStepByStepRewriting)
{
    std::vector<std::pair<char, std::string>> chain = {{'L', "AX"}}, shrinking = {{'P', "QXX"}, {'Q', "P"}, {'X', ""}};
    for (char c = 'A'; c < 'L'; ++c) chain.emplace_back(c, std::string(1, static_cast<char>(c + 1)));
    for (char c = 'a'; c <= 'm'; ++c) shrinking.emplace_back(c, std::string(1, c == 'm' ? 'a' : static_cast<char>(c + 1)));
    std::string pairs;
    for (int k = 0; k < 100; ++k) pairs += "PQ";
    const struct {
        const char* Name;
        std::vector<std::pair<char, std::string>> Rules;
        std::string Axiom;
        int64_t Limit, RefusedStep; // 0: never refused
    } cases[] = {
        {"linear: n + 1", {{'A', "AB"}}, "A", 1000, 1000},
        {"quadratic: 1 + n + n(n-1)/2", {{'A', "AB"}, {'B', "BC"}}, "A", 1000, 45},
        {"doubling", {{'A', "AA"}}, "A", 1000, 10},
        {"Fibonacci: 987, 1597", {{'A', "B"}, {'B', "AB"}}, "A", 1000, 16},
        {"slow, through a chain of twelve: 1 + n/12", chain, "A", 1000, 12'000},
        {"shrinking images at the limit", shrinking, pairs + "a", 401, 0},
        {"shrinking images one below", shrinking, pairs + "a", 400, 1},
    };
    for (const auto& c : cases) {
        const TRules plain = RulesOf(c.Rules);
        for (const int64_t steps : {1, 2, 3, 26, 27, 1'000'000, 2'000'000'000}) {
            SCOPED_TRACE(testing::Message() << c.Name << ", " << steps << " steps");
            const std::optional<TResult> expected = Reference(c.Axiom, plain, plain, steps, c.Limit);
            ASSERT_TRUE(expected.has_value());
            const TResult result = Rewrite(c.Axiom, plain, plain, steps, c.Limit);
            ExpectSame(result, *expected);
            EXPECT_EQ(result.Status == TRewriteStatus::Refused, c.RefusedStep > 0 && steps >= c.RefusedStep);
            if (result.Status == TRewriteStatus::Refused) {
                EXPECT_EQ(result.Step, c.RefusedStep);
            }
        }
    }
}
