// The mutator and the breeding gallery on extended definitions: only the
// constants' values and the rules' weights move, by no more than the
// radiation allows, and the result stays valid.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "engine/definition.h"
#include "generators/breeding.h"
#include "generators/extended_mutation.h"

using namespace verdel;

namespace {

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
