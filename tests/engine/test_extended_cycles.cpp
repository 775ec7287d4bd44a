// Extended definitions with far more steps than their strings take to start
// repeating: the production is the one steps taken one by one give; a
// definition whose string never repeats is refused, not left running.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "engine/extended_rewriting.h"
#include "engine/production.h"

using namespace verdel;

namespace {

struct TResult {
    TRewriteStatus Status;
    std::string Production, Fault;
};

TResult Rewrite(TLines lines, const std::string& iterations, bool findCycles = true)
{
    lines[1] = iterations;
    EXPECT_TRUE(ValidateDefinition(lines).Ok) << ValidateDefinition(lines).LineText();
    auto state = std::make_unique<TDefinitionState>();
    ParseDefinition(*state, lines);
    TRandomSource random;
    const TRewriteStatus status = RewriteExtended(*state, random, TCancelToken(), MaxProductionLength,
                                                  {findCycles ? MaxExtendedWork : INT64_MAX, findCycles});
    return {status, state->Production, state->FaultText};
}

// A random deterministic definition whose string stops growing: A, B and C
// only write letters after their own, X, Y and Z (one parameter each, some
// rules with a left context or a condition) write one of X, Y and Z. The
// parameters go round {v, 1-v} or {v, -v}, so 0 and -0 take turns.
TLines RandomDefinition(std::mt19937& generator)
{
    auto pick = [&](size_t n) { return static_cast<size_t>(generator() % n); };
    const std::string change = pick(2) ? "1-x" : "-x";
    auto terminal = [&] { return std::string(1, "XYZ"[pick(3)]) + "(" + (pick(2) ? change : "x") + ")"; };
    auto successor = [&](size_t after) {
        std::string text;
        for (size_t n = 1 + pick(3); n > 0; --n) {
            const size_t kind = pick(5);
            if (kind == 0 && after < 2) text += std::string(1, "ABC"[after + 1 + pick(2 - after)]) + "(x)";
            else if (kind == 1) text.append("[").append(terminal()).append("]");
            else if (kind == 2) text += "F";
            else text += terminal();
        }
        return text;
    };
    TLines lines = {"#extended", "0", "30", "10", ""};
    for (size_t n = 1 + pick(4); n > 0; --n)
        lines[4] += std::string(1, "ABCXYZ"[pick(6)]) + "(" + (pick(2) ? "0" : "2") + ")";
    if (pick(2)) lines[4] += "X(0.5)[Y(2)]";
    for (size_t g = 0; g < 3; ++g) lines.push_back(std::string(1, "ABC"[g]) + "(x) --> " + successor(g));
    for (const char t : std::string("XYZ")) {
        if (pick(2)) lines.push_back(std::string(1, "XYZ"[pick(3)]) + "(y) < " + t + "(x) --> " + terminal());
        if (pick(3) == 0) lines.push_back(std::string(1, t) + "(x) : x > 0.25 --> " + terminal());
        lines.push_back(std::string(1, t) + "(x) --> " + terminal());
    }
    lines.push_back("@");
    return lines;
}

} // namespace

// Huge step counts give the production of the smaller count that lands at the
// same place of the repetition, found here from the texts of steps taken one
// by one; small ones give the one-by-one production itself.
TEST(ExtendedCycles, RepeatingStringsSkipToTheProductionOfStepsTakenOneByOne)
{
    std::mt19937 generator(77);
    int repeating = 0;
    for (int k = 0; k < 60; ++k) {
        const TLines lines = RandomDefinition(generator);
        SCOPED_TRACE(testing::PrintToString(lines));
        std::vector<std::string> texts;
        std::map<std::string, int> seen;
        int first = -1, period = 0;
        for (int n = 0; n <= 48 && period == 0; ++n) {
            texts.push_back(Rewrite(lines, std::to_string(n), false).Production);
            EXPECT_EQ(Rewrite(lines, std::to_string(n)).Production, texts.back());
            const auto [at, added] = seen.emplace(texts.back(), n);
            if (!added) first = at->second, period = n - at->second;
        }
        repeating += period > 0;
        for (const int64_t n : {999'999, 1'000'000}) {
            if (period == 0) break;
            const int64_t same = first + (n - first) % period;
            EXPECT_EQ(Rewrite(lines, std::to_string(n)).Production, texts[static_cast<size_t>(same)]) << n;
            EXPECT_EQ(Rewrite(lines, std::to_string(n - 1) + ".5").Production,
                      Rewrite(lines, std::to_string(same + period - 1) + ".5", false).Production) << n;
        }
    }
    EXPECT_GE(repeating, 50);
}

// A string that never repeats, or one drawn anew every step, is refused after
// a bounded amount of work, naming the iterations line.
TEST(ExtendedCycles, EndlessWorkIsRefused)
{
    const std::string many = "A(0)A(0)A(0)A(0)A(0)A(0)A(0)A(0)A(0)A(0)";
    const std::vector<TLines> cases = {
        {"#extended", "", "30", "10", many + many + many, "A(x) --> A(x+1)", "@"},
        {"#extended", "", "30", "10", std::string(200, 'A'), "A --> A : 1", "A --> B : 1", "B --> A", "@"},
    };
    for (const TLines& lines : cases) {
        SCOPED_TRACE(lines[5]);
        const TResult result = Rewrite(lines, "1000000");
        EXPECT_EQ(result.Status, TRewriteStatus::Refused);
        EXPECT_EQ(result.Fault.rfind("Line 2: 1000000 steps rewrite more than", 0), 0u) << result.Fault;
    }
}
