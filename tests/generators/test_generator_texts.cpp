#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "generators/breeding.h"
#include "generators/mutator.h"
#include "generators/random_generator.h"

using namespace verdel;

// Each generator's exact text for a few fixed seeds, kept in
// tests/data/generator_texts.txt: any change in what is drawn, in which order,
// or how a draw is read shows here. VERDEL_UPDATE_GENERATOR_TEXTS=1 rewrites
// the file from the build under test (for a deliberate change only).

namespace {

const TLines Tree = {"# a tree", "7", "# the angle:", "22", "8", "A", "A=[&FL!A]>>'[&FL!A]",
                     "# leaves", "L=[c(3)^^{-f+f+f-|-f+f+f}]", "F=S(80.5)F", "@", "free text"};

std::string Text(const TLines& Lines)
{
    std::string text;
    for (const std::string& line : Lines) text += line + "\n";
    return text;
}

std::string RandomText(uint32_t Seed, bool Narrow)
{
    TRandomSource random;
    TRandomGenerator generator(random, Seed);
    if (Narrow) {
        generator.SetPosition(rbRules, 6);
        generator.Locks[rlIterations] = {true, "4"};
    }
    std::string text;
    for (int go = 0; go < 2; ++go) {
        const auto fault = generator.Go();
        text += fault ? "fault: " + *fault + "\n" : Text(generator.Memo);
        generator.Randomize();
    }
    return text;
}

std::string MutateText(uint32_t Seed, int Radiation)
{
    TRandomSource random;
    TDefinitionMutator mutator(random, Seed);
    mutator.Memo = Tree;
    mutator.SetPosition(mbRadiation, Radiation);
    for (int kind = 0; kind < MutationKindCount; ++kind) mutator.SetPosition(TMutatorBar(kind), 2);
    std::string text;
    for (int press = 0; press < 3; ++press) {
        mutator.Mutate();
        text += Text(mutator.Memo);
    }
    return text;
}

std::string BreedText(uint32_t Seed)
{
    TBreedingGallery gallery(Tree, Seed, DefaultMutatorBars());
    gallery.Pick(3);
    gallery.Pick(1, 5);
    std::string text = gallery.LineageText() + "\n";
    for (const TBreedChild& child : gallery.Current().Children) text += Text(child.Text);
    return text;
}

// Every entry by its name.
std::map<std::string, std::string> Compose()
{
    std::map<std::string, std::string> texts;
    for (uint32_t seed : {1u, 2u, 42u, 4711u}) {
        texts["random " + std::to_string(seed)] = RandomText(seed, false);
        texts["random narrow " + std::to_string(seed)] = RandomText(seed, true);
        texts["mutate " + std::to_string(seed)] = MutateText(seed, 8);
        texts["breed " + std::to_string(seed)] = BreedText(seed);
    }
    texts["mutate still 5"] = MutateText(5, 0);
    return texts;
}

const std::string File = std::string(VERDEL_FIXTURES) + "/generator_texts.txt";

// The file: "== name" lines, each followed by its text.
std::map<std::string, std::string> ReadTexts()
{
    std::map<std::string, std::string> texts;
    std::ifstream in(File);
    std::string* current = nullptr;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("== ", 0) == 0) current = &texts[line.substr(3)];
        else if (current) *current += line + "\n";
    }
    return texts;
}

} // namespace

TEST(GeneratorTexts, FixedSeedsGiveTheKeptTexts)
{
    const std::map<std::string, std::string> composed = Compose();
    if (std::getenv("VERDEL_UPDATE_GENERATOR_TEXTS")) {
        std::ofstream out(File);
        for (const auto& [name, text] : composed) out << "== " << name << "\n" << text;
        GTEST_SKIP() << "rewrote " << File;
    }
    const std::map<std::string, std::string> kept = ReadTexts();
    ASSERT_EQ(kept.size(), composed.size()) << File;
    for (const auto& [name, text] : composed) {
        SCOPED_TRACE(name);
        EXPECT_EQ(text, kept.count(name) ? kept.at(name) : "(missing)");
    }
}
