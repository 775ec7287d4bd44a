#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "generators/mutator.h"

using namespace verdel;

namespace {

const TLines Tree = {
    "# a tree",   "7", "# the angle:", "22", "8", "A", "A=[&FL!A]>>'[&FL!A]", "# leaves", "L=[c(3)^^{-f+f+f-|-f+f+f}]",
    "F=S(80.5)F", "@", "free text"};

// A mutator on Text with radiation Radiation and every other bar at Tries.
TDefinitionMutator MakeMutator(TRandomSource& random, uint32_t seed, const TLines& text, int radiation, int tries = 0)
{
    TDefinitionMutator mutator(random, seed);
    mutator.Memo = text;
    mutator.SetPosition(mbRadiation, radiation);
    for (int kind = 0; kind < MutationKindCount; ++kind) mutator.SetPosition(TMutatorBar(kind), tries);
    return mutator;
}

std::string Structure(const TLines& lines)
{
    std::string structure;
    for (const std::string& line : lines)
        for (char c : line)
            if (IsProtected(c)) structure += c;
    return structure;
}

int CountChanged(const TDefinitionMutator& mutator)
{
    return static_cast<int>(std::count(mutator.Changed.begin(), mutator.Changed.end(), true));
}

} // namespace

TEST(Mutator, OddsFollowTheRadiation)
{
    const struct {
        int Radiation;
        int Odds;
    } cases[] = {{10, 1}, {2, 17}, {0, 21}, {9, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Radiation);
        EXPECT_EQ(MutationOdds(c.Radiation), c.Odds);
    }
}

TEST(Mutator, ReadsValuesAndRulesWithTheirLineNumbers)
{
    const TVDRecord record = ReadVDFile(Tree);
    EXPECT_EQ(record.Iterations.Value, 7);
    EXPECT_EQ(record.Iterations.Line, 1);
    EXPECT_EQ(record.Angle.Line, 3);
    EXPECT_EQ(record.Thickness.Line, 4);
    EXPECT_TRUE(record.Thickness.Whole);
    EXPECT_EQ(record.Axiom.Text, "A");
    EXPECT_EQ(record.Axiom.Line, 5);
    ASSERT_EQ(record.Rules.size(), 3u);
    EXPECT_EQ(record.Rules[1].Text, "L=[c(3)^^{-f+f+f-|-f+f+f}]");
    EXPECT_EQ(record.Rules[1].Line, 8);
    EXPECT_EQ(record.Rules[2].Line, 9);

    const TVDRecord decimals = ReadVDFile({"4.5", "90 # right", "-3", "F", "@"});
    EXPECT_FALSE(decimals.Iterations.Whole);
    EXPECT_EQ(decimals.Iterations.Value, -1);
    EXPECT_FALSE(decimals.Angle.Whole);
    EXPECT_TRUE(decimals.Thickness.Whole);
    EXPECT_EQ(decimals.Thickness.Value, -3);

    TLines many = {"2", "90", "10", "F"};
    for (int k = 0; k < 40; ++k) many.push_back("F=F" + std::to_string(k));
    many.push_back("@");
    EXPECT_EQ(ReadVDFile(many).Rules.size(), 40u) << "any number of rules";
}

TEST(Mutator, OnlyTheReportedKindsChangeTheirLines)
{
    // Tree's lines: 1 iterations, 3 angle, 4 thickness; 6, 8 and 9 rules; the
    // comments, the axiom, the end line and the free text after it never change.
    const std::array<std::pair<TMutationKind, int>, 3> valueLines = {
        {{mkRecursion, 1}, {mkAngle, 3}, {mkThickness, 4}}};
    const std::array<int, 3> ruleLines = {6, 8, 9};
    const std::array<int, 6> fixedLines = {0, 2, 5, 7, 10, 11};
    for (uint32_t seed = 0; seed < 150; ++seed) {
        SCOPED_TRACE(seed);
        TRandomSource random;
        TDefinitionMutator mutator = MakeMutator(random, seed, Tree, 8, 2);
        for (int round = 0; round < 3; ++round) {
            const TLines before = mutator.Memo;
            ASSERT_FALSE(mutator.Mutate());
            const TLines& after = mutator.Memo;
            ASSERT_EQ(after.size(), before.size());
            for (const auto& [kind, line] : valueLines) {
                if (!mutator.Changed[kind]) {
                    EXPECT_EQ(after[line], before[line]) << "line " << line;
                }
            }
            const bool rulesMayChange =
                mutator.Changed[mkDeletions] || mutator.Changed[mkAdditions] || mutator.Changed[mkSubstitutions];
            for (int line : ruleLines) {
                if (!rulesMayChange) {
                    EXPECT_EQ(after[line], before[line]) << "line " << line;
                }
            }
            for (int line : fixedLines) EXPECT_EQ(after[line], before[line]) << "line " << line;
            EXPECT_EQ(Structure(after), Structure(before));
        }
    }
}

TEST(Mutator, FullRadiationMakesEveryKindOfChange)
{
    TRandomSource random;
    for (uint32_t seed = 0; seed < 50; ++seed) {
        TDefinitionMutator mutator = MakeMutator(random, seed, Tree, 10);
        ASSERT_FALSE(mutator.Mutate());
        EXPECT_EQ(CountChanged(mutator), 6);
        // Comment lines, the axiom and the text after the end keep their places.
        ASSERT_EQ(mutator.Memo.size(), Tree.size());
        for (size_t line : {0u, 2u, 5u, 7u, 10u, 11u}) EXPECT_EQ(mutator.Memo[line], Tree[line]);
        const int iterations = std::stoi(mutator.Memo[1]);
        EXPECT_TRUE(iterations >= 6 && iterations <= 8) << "7 moves by at most round(7 / 3) - 1";
        const int angle = std::stoi(mutator.Memo[3]);
        EXPECT_TRUE(angle >= 12 && angle <= 32);
    }
}

TEST(Mutator, NoRadiationGivesEachKindOneChanceIn21)
{
    TRandomSource random;
    TDefinitionMutator mutator = MakeMutator(random, 11, Tree, 0);
    std::array<int, MutationKindCount> hits{};
    const int presses = 4200;
    for (int press = 0; press < presses; ++press) {
        mutator.Memo = Tree;
        ASSERT_FALSE(mutator.Mutate());
        for (int kind = 0; kind < MutationKindCount; ++kind) hits[kind] += mutator.Changed[kind];
    }
    for (int kind = 0; kind < MutationKindCount; ++kind) {
        SCOPED_TRACE(MutatorBars[kind].Name);
        EXPECT_GT(hits[kind], 140); // 200 expected
        EXPECT_LT(hits[kind], 260);
    }
}

TEST(Mutator, SmallAndNonWholeValuesKeepTheirLines)
{
    TRandomSource random;
    const TLines small = {"4", "2", "1", "F", "F=F", "@"};
    const TLines decimals = {"3.5", "22,5", "7 # thin", "F", "F=F", "@"};
    for (uint32_t seed = 0; seed < 30; ++seed) {
        for (const TLines& text : {small, decimals}) {
            TDefinitionMutator mutator = MakeMutator(random, seed, text, 10);
            ASSERT_FALSE(mutator.Mutate());
            EXPECT_TRUE(mutator.Changed[mkRecursion] && mutator.Changed[mkAngle] && mutator.Changed[mkThickness]);
            EXPECT_EQ(TLines(mutator.Memo.begin(), mutator.Memo.begin() + 3), TLines(text.begin(), text.begin() + 3));
        }
    }
    // Five iterations can move by one.
    std::set<std::string> fives;
    for (uint32_t seed = 0; seed < 30; ++seed) {
        TDefinitionMutator mutator = MakeMutator(random, seed, {"5", "90", "10", "F", "@"}, 10);
        mutator.Mutate();
        fives.insert(mutator.Memo[0]);
    }
    EXPECT_EQ(fives, (std::set<std::string>{"4", "5", "6"}));
}

TEST(Mutator, NegativeValuesMoveWithinTheirOwnSize)
{
    TRandomSource random;
    for (uint32_t seed = 0; seed < 50; ++seed) {
        TDefinitionMutator mutator = MakeMutator(random, seed, {"3", "-30", "10", "F", "@"}, 10);
        ASSERT_FALSE(mutator.Mutate());
        const int angle = std::stoi(mutator.Memo[1]);
        EXPECT_TRUE(angle >= -44 && angle <= -16) << angle;
    }
}

TEST(Mutator, StructureCharactersAreNeverDeletedOrAdded)
{
    TRandomSource random;
    const TLines text = {"2", "90", "10", "A", "A=F(50)[+F(2)]{-f}B", "B=()", "C=[]", "D=", "@"};
    const std::string structure = Structure(text);
    for (uint32_t seed = 0; seed < 200; ++seed) {
        SCOPED_TRACE(seed);
        TDefinitionMutator mutator = MakeMutator(random, seed, text, 10, 5);
        for (int press = 0; press < 5; ++press) ASSERT_FALSE(mutator.Mutate());
        EXPECT_EQ(Structure(mutator.Memo), structure);
        // Nothing ever goes between a rule's name and its "=".
        for (size_t line = 4; line <= 7; ++line) EXPECT_EQ(mutator.Memo[line].substr(0, 2), text[line].substr(0, 2));
    }
}

TEST(Mutator, TwoCharacterRulesOnlyGrow)
{
    TRandomSource random;
    const std::string commands(AddCommands.begin(), AddCommands.end());
    int grown = 0;
    for (uint32_t seed = 0; seed < 100; ++seed) {
        TDefinitionMutator mutator = MakeMutator(random, seed, {"2", "90", "10", "B", "B=", "@"}, 10);
        ASSERT_FALSE(mutator.Mutate());
        const std::string& line = mutator.Memo[4];
        SCOPED_TRACE(line);
        ASSERT_TRUE(line == "B=" || (line.size() == 3 && line.rfind("B=", 0) == 0));
        if (line.size() == 3) {
            EXPECT_NE(commands.find(line[2]), std::string::npos);
        }
        grown += line.size() == 3;
    }
    EXPECT_GT(grown, 5);
}

TEST(Mutator, AnAdditionIsMadeToTheRuleAsRead)
{
    // A rule line of ten "F": a deletion leaves nine, an addition (made to the
    // rule as read, so it hides a deletion of the same Mutate) leaves ten or more.
    TRandomSource random;
    const TLines text = {"2", "90", "10", "A", "A=FFFFFFFFFF", "@"};
    int both = 0;
    for (uint32_t seed = 0; seed < 3000; ++seed) {
        TDefinitionMutator mutator = MakeMutator(random, seed, text, 0);
        ASSERT_FALSE(mutator.Mutate());
        if (mutator.Changed[mkSubstitutions]) continue;
        const std::string& line = mutator.Memo[4];
        SCOPED_TRACE(line);
        const auto fs = std::count(line.begin(), line.end(), 'F');
        EXPECT_EQ(line.substr(0, 2), "A=");
        EXPECT_TRUE(line == text[4] || line == "A=FFFFFFFFF" || (line.size() == 13 && fs >= 10));
        both += mutator.Changed[mkDeletions] && mutator.Changed[mkAdditions] && line.size() == 13;
    }
    EXPECT_GT(both, 0);
}

TEST(Mutator, SubstitutionsReplaceOneUnprotectedCharacter)
{
    TRandomSource random;
    const TLines text = {"2", "90", "10", "A", "A=F[F]F(1)F", "@"};
    const std::string commands(AddCommands.begin(), AddCommands.end());
    int substituted = 0;
    for (uint32_t seed = 0; seed < 4000; ++seed) {
        TDefinitionMutator mutator = MakeMutator(random, seed, text, 0);
        mutator.Mutate();
        if (CountChanged(mutator) != 1 || !mutator.Changed[mkSubstitutions]) continue;
        const std::string& line = mutator.Memo[4];
        ASSERT_EQ(line.size(), text[4].size());
        size_t differences = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == text[4][i]) continue;
            ++differences;
            EXPECT_GE(i, 2u);
            EXPECT_FALSE(IsProtected(text[4][i]));
            EXPECT_NE(commands.find(line[i]), std::string::npos);
        }
        EXPECT_LE(differences, 1u);
        substituted += differences == 1;
    }
    EXPECT_GT(substituted, 3);
}

TEST(Mutator, UndoLastGoesBackOneMutate)
{
    TRandomSource random;
    TDefinitionMutator mutator = MakeMutator(random, 8, Tree, 10);
    EXPECT_FALSE(mutator.UndoEnabled);
    EXPECT_FALSE(mutator.UndoLast());
    ASSERT_FALSE(mutator.Mutate());
    const TLines afterFirst = mutator.Memo;
    ASSERT_FALSE(mutator.Mutate());
    ASSERT_NE(mutator.Memo, afterFirst);
    EXPECT_TRUE(mutator.UndoEnabled);
    EXPECT_TRUE(mutator.UndoLast());
    EXPECT_EQ(mutator.Memo, afterFirst);
    EXPECT_FALSE(mutator.UndoEnabled);
    EXPECT_FALSE(mutator.UndoLast()) << "one level only";
    EXPECT_EQ(mutator.Memo, afterFirst);
}

TEST(Mutator, InvalidTextIsReportedAndLeftAlone)
{
    TRandomSource random;
    TDefinitionMutator mutator = MakeMutator(random, 8, Tree, 10);
    ASSERT_FALSE(mutator.Mutate());
    const TLines typed = {"3", "90", "", "F", "@"};
    mutator.Memo = typed;
    const uint32_t seed = random.Seed;
    EXPECT_EQ(mutator.Mutate(), "Please Check Input Data\r\nBlank Line in File");
    EXPECT_EQ(mutator.Memo, typed);
    EXPECT_TRUE(mutator.UndoEnabled) << "Undo Last keeps its state";
    EXPECT_EQ(random.Seed, seed);

    TDefinitionMutator fresh(random, 0);
    EXPECT_EQ(fresh.Memo, TLines{""});
    EXPECT_EQ(fresh.Mutate(), "Please Check Input Data\r\nBlank Line in File");
    EXPECT_FALSE(fresh.UndoEnabled);
}

TEST(Mutator, ScrambleReachesEveryPositionInOrder)
{
    TRandomSource random;
    TDefinitionMutator mutator(random, 4);
    std::array<std::set<int>, MutatorBarCount> seen;
    for (int press = 0; press < 400; ++press) {
        mutator.Scramble();
        for (int bar = 0; bar < MutatorBarCount; ++bar) seen[bar].insert(mutator.Position(TMutatorBar(bar)));
    }
    for (int bar = 0; bar < MutatorBarCount; ++bar) {
        SCOPED_TRACE(MutatorBars[bar].Name);
        EXPECT_EQ(seen[bar].size(), static_cast<size_t>(MutatorBars[bar].Max + 1));
        EXPECT_EQ(*seen[bar].rbegin(), MutatorBars[bar].Max);
    }
}
