// The breeding gallery: crossover takes every line from one parent, children
// come from their own seeds, and the lineage moves back and forward; its exact
// texts for fixed seeds are in test_generator_texts.cpp, its extended
// definitions in test_extended_mutation.cpp.
#include <gtest/gtest.h>

#include <set>

#include "generators/breeding.h"

using namespace verdel;

namespace {

const TLines Bush = {
    "# bush", "4", "22", "10", "+(90)A", "A=[&FL!A]>>>>>[&FL!A]>>>>>>>[&FL!A]", "F=FF", "L=[c(3)'''^^{-f+f+f-|-f+f+f}]",
    "@"};

// Bars that make every Mutate change something: full radiation, every kind tried five times.
TMutatorBars Lively()
{
    TMutatorBars bars;
    bars.fill(5);
    bars[mbRadiation] = 10;
    return bars;
}

} // namespace

TEST(Breeding, CrossoverTakesEveryLineFromOneParentByAFairCoin)
{
    const TLines first = {"# first", "4", "20", "10", "A", "A=F[+A]", "B=FF", "F=F'F", "@", "after"};
    const TLines second = {"5", "30", "# second", "12", "AB", "C=f", "A=F[-A]", "F=FF", "@(F,!)"};
    // Paired slots: 3 values, the axiom, A, F and the end line; B only in the first, C only in the second.
    const std::vector<std::pair<std::string, std::string>> slots = {
        {"4", "5"}, {"20", "30"}, {"10", "12"}, {"A", "AB"}, {"A=F[+A]", "A=F[-A]"}, {"F=F'F", "F=FF"}, {"@", "@(F,!)"}};
    std::array<int, 9> fromSecond{}; // the seven slots, then B kept and C kept
    const int seeds = 400;
    for (uint32_t seed = 0; seed < seeds; ++seed) {
        TRandomSource random{seed};
        const TLines child = CrossDefinitions(first, second, random);
        // The first parent's layout: its comment first, its tail last.
        ASSERT_GE(child.size(), 9u);
        EXPECT_EQ(child.front(), "# first");
        EXPECT_EQ(child.back(), "after");
        size_t at = 1;
        for (size_t s = 0; s < slots.size(); ++s) {
            if (s == 5 && child[at] == "B=FF") ++fromSecond[7], ++at; // the first's own rule, in its place
            if (s == 6 && child[at] == "C=f") ++fromSecond[8], ++at;  // the second's own, after the first's rules
            EXPECT_TRUE(child[at] == slots[s].first || child[at] == slots[s].second) << child[at];
            fromSecond[s] += child[at++] == slots[s].second;
        }
        EXPECT_EQ(at + 1, child.size());
    }
    // Each choice is a fair coin: 400 tosses land within 150..250 far beyond any reasonable doubt.
    for (const int count : fromSecond) EXPECT_TRUE(count > 150 && count < 250) << count;
}

TEST(Breeding, ChildrenComeFromTheirOwnSeedsAndTheLineageMovesBackAndForward)
{
    // SplitMix64 seeded 0 first outputs 0xE220A8397B1DCDAF, the finaliser of
    // 0x9E3779B97F4A7C15: gallery seed 0x9E3779B9, index 0x7F4A7C15 = 8 x 266948482 + 5.
    EXPECT_EQ(ChildSeed(0x9E3779B9u, 266948482, 6), 0x7B1DCDAFu);

    TBreedingGallery gallery(Bush, 99, Lively());
    EXPECT_EQ(gallery.LineageText(), "seed 99");
    EXPECT_FALSE(gallery.CanBack());
    std::vector<TBreedGeneration> seen = {gallery.Current()};
    for (const TPick pick : {TPick{2, 0}, TPick{7, 0}, TPick{4, 6}}) {
        ASSERT_TRUE(gallery.Pick(pick.Child, pick.Second));
        seen.push_back(gallery.Current());
    }
    for (size_t g = 0; g < seen.size(); ++g) {
        SCOPED_TRACE(g);
        const TBreedGeneration& generation = seen[g];
        const TBreedChild* picked = g == 0 ? nullptr : &seen[g - 1].Children[generation.Picks.back().Child - 1];
        EXPECT_EQ(generation.ParentSeed, picked ? picked->Seed : 99u);
        EXPECT_EQ(generation.Parent, picked ? picked->Text : Bush);
        std::set<TLines> texts;
        for (int i = 1; i <= BreedChildCount; ++i) {
            const TBreedChild& child = generation.Children[i - 1];
            EXPECT_EQ(child.Seed, ChildSeed(99, static_cast<int>(g), i));
            EXPECT_EQ(child.Fault, "");
            EXPECT_NE(child.Text, generation.Parent);
            texts.insert(child.Text);
        }
        EXPECT_EQ(texts.size(), 8u) << "lively bars: eight different children";
    }
    EXPECT_EQ(gallery.LineageText(), "seed 99: 2, 7, 4+6");
    EXPECT_EQ(ParsePicks(" 2 ,7,4 + 6 "), gallery.Current().Picks);
    EXPECT_EQ(ParsePicks(""), std::vector<TPick>{});
    for (const char* bad : {"0", "9", "3,", ",3", "1+1", "2+9", "a", "3;1", "1+", "+2", "1 2"})
        EXPECT_EQ(ParsePicks(bad), std::nullopt) << bad;
    const auto same = [](const TBreedGeneration& a, const TBreedGeneration& b) {
        bool children = true;
        for (int i = 0; i < BreedChildCount; ++i)
            children = children && a.Children[i].Text == b.Children[i].Text && a.Children[i].Seed == b.Children[i].Seed;
        return children && a.Parent == b.Parent && a.ParentSeed == b.ParentSeed && a.Picks == b.Picks;
    };
    for (int k = 2; k >= 0; --k) {
        ASSERT_TRUE(gallery.Back());
        EXPECT_TRUE(same(gallery.Current(), seen[k]));
    }
    EXPECT_FALSE(gallery.Back());
    for (int k = 1; k <= 3; ++k) {
        ASSERT_TRUE(gallery.Forward());
        EXPECT_TRUE(same(gallery.Current(), seen[k]));
    }
    EXPECT_FALSE(gallery.Forward());
    // Bad picks change nothing; a new pick after going back drops the generations ahead.
    for (const TPick pick : {TPick{0, 0}, TPick{9, 0}, TPick{3, 3}, TPick{3, 9}, TPick{3, -1}})
        EXPECT_FALSE(gallery.Pick(pick.Child, pick.Second)) << pick.Child << "+" << pick.Second;
    gallery.Back();
    gallery.Back();
    ASSERT_TRUE(gallery.Pick(8));
    EXPECT_FALSE(gallery.CanForward());
    EXPECT_EQ(gallery.LineageText(), "seed 99: 2, 8");
    EXPECT_EQ(gallery.Current().Parent, seen[1].Children[7].Text);

    // A parent that fails validation gives children that are copies with the reason.
    const TLines broken = {"4", "22", "", "A", "@"};
    const TBreedingGallery invalid(broken, 1, Lively());
    for (const TBreedChild& child : invalid.Current().Children) {
        EXPECT_EQ(child.Fault, "Please Check Input Data\r\nBlank Line in File");
        EXPECT_EQ(child.Text, broken);
    }
}
