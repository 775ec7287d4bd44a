// The mutator checked by what every Mutate may and must do: on classic
// definitions over many seeds, radiations and tries; on extended ones, where
// only the constants' values and the rules' weights move, by no more than the
// radiation allows. Its exact texts for fixed seeds are in test_generator_texts.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <set>

#include "engine/definition.h"
#include "generators/breeding.h"
#include "generators/extended_mutation.h"

using namespace verdel;

namespace {

// A text, the lines of its three values with the range each whole value may
// move to ({0, -1}: the line is not a whole number and keeps its text), and its rule lines.
struct TText {
    TLines Lines;
    std::array<size_t, 3> ValueLines;
    std::array<std::pair<int, int>, 3> Ranges;
    std::vector<size_t> RuleLines;
};

// A value v moves by R(round(|v| / d)) with d = 3 for iterations, 2 otherwise, halves to even.
const TText Texts[] = {
    {{"# a tree", "7", "# the angle:", "22", "8", "A", "A=[&FL!A]>>'[&FL!A]", "# leaves", "L=[c(3)^^{-f+f+f-|-f+f+f}]",
      "F=S(80.5)F", "@", "free text"},
     {1, 3, 4},
     {{{6, 8}, {12, 32}, {5, 11}}},
     {6, 8, 9}},
    {{"5", "-45", "5", "B", "B=", "C=F(50)[+F(2)]{-f}B", "@"}, {0, 1, 2}, {{{4, 6}, {-66, -24}, {4, 6}}}, {4, 5}},
    {{"1", "22,5", "7 # thin", "F", "F=F", "@"}, {0, 1, 2}, {{{1, 1}, {0, -1}, {0, -1}}}, {4}},
};

std::string Structure(const std::string& line)
{
    std::string structure;
    for (const char c : line)
        if (IsProtected(c)) structure += c;
    return structure;
}

// Whether After is Before with at most one edit of Kind past the "=": a
// deletion or a substitution of a character that is not ( ) [ ] { }, or an
// addition, the new character one of the 24 commands.
bool OneEdit(const std::string& before, const std::string& after, TMutationKind kind)
{
    const std::string commands(AddCommands.begin(), AddCommands.end());
    size_t i = 0;
    while (i < before.size() && i < after.size() && before[i] == after[i]) ++i;
    if (after == before) return true;
    if (i < 2) return false;
    if (kind == mkDeletions)
        return !IsProtected(before[i]) && after == before.substr(0, i) + before.substr(i + 1);
    if (commands.find(after[i]) == std::string::npos) return false;
    if (kind == mkAdditions) return before == after.substr(0, i) + after.substr(i + 1);
    return !IsProtected(before[i]) && after.size() == before.size() && after.substr(i + 1) == before.substr(i + 1);
}


// The parts of a line the mutator must keep: everything but a "#define"
// value, or everything before a rule's last " : " (its weight).
std::string Kept(const std::string& line)
{
    static const std::regex define(R"(^(#define\s+\w+\s+)[-+0-9.eE]+(.*)$)");
    std::smatch m;
    if (std::regex_match(line, m, define)) return m[1].str() + "#" + m[2].str();
    const size_t weight = line.rfind(" : ");
    return weight == std::string::npos || line.find("-->") > weight ? line : line.substr(0, weight);
}

// What a Mutate or a child changed of Before that it must not, or "": kept
// parts, validity (a value outside its range is invalid), weights above 0.
// A value moved by Share (up to Radiation + 1 elevenths of half its range, or
// of its size) adds the largest share of that bound taken to *Reach.
std::string Wrong(const TLines& before, const TLines& after, double share = 1, double* reach = nullptr)
{
    if (!ValidateDefinition(after).Ok) return "invalid: " + ValidateDefinition(after).LineText();
    if (after.size() != before.size()) return "the number of lines changed";
    for (size_t i = 0; i < after.size(); ++i)
        if (Kept(after[i]) != Kept(before[i])) return "line " + std::to_string(i + 1) + " changed: " + after[i];
    const std::vector<TTunableValue> was = TunableValues(before), is = TunableValues(after);
    if (is.size() != was.size()) return "a weight is not above 0, or a value is no longer a plain number";
    for (size_t k = 0; k < is.size(); ++k) {
        const TTunableValue &a = was[k], &b = is[k];
        const double bound = share * (a.Ranged ? a.High - a.Low : a.Value == 0 ? 1 : std::abs(a.Value));
        const double moved = std::abs(b.Value - a.Value), rounding = 5e-4 * std::abs(b.Value) + 1e-9;
        if (moved > bound + rounding) return "moved too far: " + after[a.Line];
        if (reach) *reach = std::max(*reach, moved / bound);
    }
    return {};
}

} // namespace

TEST(Mutator, EveryMutateChangesOnlyWhatItReportsWithinItsBounds)
{
    EXPECT_EQ(MutationOdds(0), 21);
    EXPECT_EQ(MutationOdds(10), 1);
    // Radiation, tries (every kind bar) and the chance of each kind in one Mutate: 1 - (1 - 1 / odds)^(tries + 1).
    const struct {
        int Radiation, Tries;
        double Chance;
    } settings[] = {{10, 0, 1.0}, {0, 0, 1 / 21.0}, {7, 0, 1 / 7.0}, {0, 5, 1 - std::pow(20 / 21.0, 6)}};
    const int presses = 1500;
    std::array<int, 3> edits{};
    int lastEdited = 0; // deletions and substitutions reach the last character of a longer rule
    for (const TText& text : Texts) {
        SCOPED_TRACE(text.Lines[0]);
        std::array<std::pair<int, int>, 3> seen;
        seen.fill({1000, -1000});
        for (const auto& s : settings) {
            SCOPED_TRACE(testing::Message() << "radiation " << s.Radiation << ", tries " << s.Tries);
            TRandomSource random;
            TDefinitionMutator mutator(random, static_cast<uint32_t>(s.Radiation * 10 + s.Tries));
            mutator.SetPosition(mbRadiation, s.Radiation);
            for (int kind = 0; kind < MutationKindCount; ++kind) mutator.SetPosition(TMutatorBar(kind), s.Tries);
            std::array<int, MutationKindCount> hits{};
            for (int press = 0; press < presses; ++press) {
                const TLines& before = text.Lines;
                mutator.Memo = before;
                ASSERT_EQ(mutator.Mutate(), std::nullopt);
                const TLines& after = mutator.Memo;
                ASSERT_EQ(after.size(), before.size());
                for (int kind = 0; kind < MutationKindCount; ++kind) hits[kind] += mutator.Changed[kind];
                std::set<size_t> free(text.RuleLines.begin(), text.RuleLines.end());
                for (int v = 0; v < 3; ++v) {
                    const size_t line = text.ValueLines[v];
                    free.insert(line);
                    const auto [low, high] = text.Ranges[v];
                    if (!mutator.Changed[v] || low > high) {
                        EXPECT_EQ(after[line], before[line]);
                        continue;
                    }
                    const int value = std::stoi(after[line]);
                    EXPECT_TRUE(value >= low && value <= high) << after[line];
                    seen[v] = {std::min(seen[v].first, value), std::max(seen[v].second, value)};
                }
                for (size_t line = 0; line < before.size(); ++line)
                    EXPECT_TRUE(free.count(line) || after[line] == before[line]) << "comments, axiom, end, tail";
                // One kind of rule change alone shows what it does to each rule line.
                const int ruleKinds = mutator.Changed[mkDeletions] + mutator.Changed[mkAdditions] +
                                      mutator.Changed[mkSubstitutions];
                for (const size_t line : text.RuleLines) {
                    SCOPED_TRACE(after[line]);
                    EXPECT_EQ(Structure(after[line]), Structure(before[line]));
                    EXPECT_EQ(after[line].substr(0, 2), before[line].substr(0, 2));
                    EXPECT_TRUE(ruleKinds > 0 || after[line] == before[line]);
                    if (ruleKinds != 1) continue;
                    for (int kind = mkDeletions; kind <= mkSubstitutions; ++kind) {
                        if (!mutator.Changed[kind]) continue;
                        EXPECT_TRUE(OneEdit(before[line], after[line], TMutationKind(kind)));
                        edits[kind - mkDeletions] += after[line] != before[line];
                        lastEdited += kind != mkAdditions && before[line].size() > 3 &&
                                      after[line].back() != before[line].back();
                    }
                }
            }
            for (int kind = 0; kind < MutationKindCount; ++kind) {
                const double expected = presses * s.Chance;
                EXPECT_LE(std::abs(hits[kind] - expected), 4 * std::sqrt(expected * (1 - s.Chance)) + 1)
                    << MutatorBars[kind].Name << ": " << hits[kind];
            }
        }
        // Every whole value reaches both ends of its range.
        for (int v = 0; v < 3; ++v)
            EXPECT_TRUE(text.Ranges[v].first > text.Ranges[v].second || seen[v] == text.Ranges[v]) << "value " << v;
    }
    for (const int count : edits) EXPECT_GT(count, 20);
    EXPECT_GT(lastEdited, 0);
}

TEST(Mutator, UndoGoesBackOneMutateAndInvalidTextIsLeftAlone)
{
    TRandomSource random;
    TDefinitionMutator mutator(random, 8);
    mutator.SetPosition(mbRadiation, 10);
    EXPECT_EQ(mutator.Mutate(), "Please Check Input Data\r\nBlank Line in File") << "the memo starts empty";
    EXPECT_FALSE(mutator.UndoEnabled);
    EXPECT_FALSE(mutator.UndoLast());
    mutator.Memo = Texts[0].Lines;
    ASSERT_FALSE(mutator.Mutate());
    const TLines afterFirst = mutator.Memo;
    ASSERT_FALSE(mutator.Mutate());
    ASSERT_NE(mutator.Memo, afterFirst);
    EXPECT_TRUE(mutator.UndoLast());
    EXPECT_EQ(mutator.Memo, afterFirst);
    EXPECT_FALSE(mutator.UndoLast()) << "one level only";
    EXPECT_EQ(mutator.Memo, afterFirst);

    ASSERT_FALSE(mutator.Mutate());
    const TLines typed = {"3", "90", "", "F", "@"};
    mutator.Memo = typed;
    const uint32_t seed = random.Seed;
    EXPECT_EQ(mutator.Mutate(), "Please Check Input Data\r\nBlank Line in File");
    EXPECT_EQ(mutator.Memo, typed);
    EXPECT_TRUE(mutator.UndoEnabled) << "Undo Last keeps its state";
    EXPECT_EQ(random.Seed, seed) << "nothing drawn";

    // Scramble: every bar to R(Max + 1), so every position from 0 to the maximum shows.
    std::array<std::set<int>, MutatorBarCount> positions;
    for (int press = 0; press < 400; ++press) {
        mutator.Scramble();
        for (int bar = 0; bar < MutatorBarCount; ++bar) positions[bar].insert(mutator.Position(TMutatorBar(bar)));
    }
    for (int bar = 0; bar < MutatorBarCount; ++bar)
        EXPECT_EQ(positions[bar].size(), bar == mbRadiation ? 11u : 6u) << MutatorBars[bar].Name;
}

// Every bundled book definition, mutated on many seeds and every radiation,
// and bred for a few generations with crossovers.
TEST(ExtendedMutation, OnlyConstantsAndWeightsMoveWithinTheRadiationsShare)
{
    int tunable = 0;
    double reach = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VERDEL_DATA "/vdfiles/book")) {
        const TLines start = ReadLinesFromFile(entry.path().string());
        SCOPED_TRACE(entry.path().filename().string());
        if (const std::optional<std::string> nothing = NothingToMutate(start)) {
            TRandomSource random;
            TDefinitionMutator mutator(random, 1);
            mutator.Memo = start;
            EXPECT_EQ(mutator.Mutate(), nothing);
            EXPECT_EQ(mutator.Memo, start);
            continue;
        }
        ++tunable;
        for (uint32_t seed = 1; seed <= 44; ++seed) {
            TRandomSource random;
            TDefinitionMutator mutator(random, seed);
            const int radiation = static_cast<int>(seed % 11);
            mutator.SetPosition(mbRadiation, radiation);
            mutator.Memo = start;
            for (int times = 0; times < 3; ++times) {
                const TLines before = mutator.Memo;
                ASSERT_EQ(mutator.Mutate(), std::nullopt);
                EXPECT_NE(mutator.Memo, before) << "seed " << seed;
                ASSERT_EQ(Wrong(before, mutator.Memo, (radiation + 1) / 22.0, &reach), "") << "seed " << seed;
            }
        }
        TBreedingGallery gallery(start, 99, DefaultMutatorBars());
        for (const auto& [child, second] : {std::pair{3, 0}, {1, 5}, {8, 2}}) {
            gallery.Pick(child, second);
            for (const TBreedChild& c : gallery.Current().Children) EXPECT_EQ(Wrong(start, c.Text), "");
        }
    }
    EXPECT_GE(tunable, 4);
    EXPECT_GT(reach, 0.95) << "the moves reach their bound";
}
