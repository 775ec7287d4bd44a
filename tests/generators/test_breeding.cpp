#include <gtest/gtest.h>

#include <algorithm>
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

TEST(Breeding, ChildSeedsFollowTheSplitMixFinaliser)
{
    // SplitMix64 seeded 0 first outputs 0xE220A8397B1DCDAF, the finaliser of
    // 0x9E3779B97F4A7C15: gallery seed 0x9E3779B9, index 0x7F4A7C15 = 8 x 266948482 + 5.
    EXPECT_EQ(ChildSeed(0x9E3779B9u, 266948482, 6), 0x7B1DCDAFu);

    std::set<uint32_t> seeds;
    for (const uint32_t gallery : {0u, 1u, 4711u})
        for (int generation = 0; generation < 50; ++generation)
            for (int child = 1; child <= BreedChildCount; ++child) seeds.insert(ChildSeed(gallery, generation, child));
    EXPECT_EQ(seeds.size(), 3u * 50 * 8); // no two children share a seed
}

TEST(Breeding, PicksReadAndWriteAsTheGalleryShowsThem)
{
    const std::vector<TPick> picks = {{3, 0}, {1, 5}, {8, 0}};
    EXPECT_EQ(FormatPicks(picks), "3, 1+5, 8");
    EXPECT_EQ(ParsePicks("3, 1+5, 8"), picks);
    EXPECT_EQ(ParsePicks("3,1+5,8"), picks);
    EXPECT_EQ(ParsePicks(""), std::vector<TPick>{});

    for (const char* bad : {"0", "9", "3,", ",3", "1+1", "2+9", "a", "3;1", "1+", "+2", "1 2"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(ParsePicks(bad), std::nullopt);
    }
}

TEST(Breeding, CrossoverTakesEveryLineFromOneParent)
{
    const TLines first = {"# first", "4", "20", "10", "A", "A=F[+A]", "B=FF", "F=F'F", "@", "after"};
    const TLines second = {"5", "30", "# second", "12", "AB", "C=f", "A=F[-A]", "F=FF", "@(F,!)"};
    // Paired slots: 3 values, the axiom, A, F and the end line; B only in the first, C only in the second.
    int fromSecond[9] = {};
    int keptB = 0, keptC = 0;
    for (uint32_t seed = 0; seed < 400; ++seed) {
        TRandomSource random;
        random.Seed = seed;
        const TLines child = CrossDefinitions(first, second, random);

        // The first parent's layout: its comment first, its tail last.
        ASSERT_GE(child.size(), 9u);
        EXPECT_EQ(child.front(), "# first");
        EXPECT_EQ(child.back(), "after");
        const std::vector<std::pair<std::string, std::string>> slots = {
            {"4", "5"},        {"20", "30"},   {"10", "12"}, {"A", "AB"}, {"A=F[+A]", "A=F[-A]"},
            {"F=F'F", "F=FF"}, {"@", "@(F,!)"}};
        size_t at = 1;
        for (size_t s = 0; s < slots.size(); ++s) {
            if (s == 5 && child[at] == "B=FF") ++keptB, ++at; // the first parent's own rule, in its place
            if (s == 6 && child[at] == "C=f") ++keptC, ++at;  // the second's own rule, after the first's rules
            const bool taken = child[at] == slots[s].second;
            EXPECT_TRUE(taken || child[at] == slots[s].first) << child[at];
            fromSecond[s] += taken;
            ++at;
        }
        EXPECT_EQ(at + 1, child.size());
    }
    // Each choice is a fair coin: 400 tosses land within 150..250 far beyond any reasonable doubt.
    for (int s = 0; s < 7; ++s) {
        SCOPED_TRACE(s);
        EXPECT_GT(fromSecond[s], 150);
        EXPECT_LT(fromSecond[s], 250);
    }
    EXPECT_GT(keptB, 150);
    EXPECT_LT(keptB, 250);
    EXPECT_GT(keptC, 150);
    EXPECT_LT(keptC, 250);
}

TEST(Breeding, CrossingADefinitionWithItselfChangesNothing)
{
    for (uint32_t seed : {1u, 99u, 123456u}) {
        TRandomSource random;
        random.Seed = seed;
        EXPECT_EQ(CrossDefinitions(Bush, Bush, random), Bush);
    }
}

TEST(Breeding, ChildrenAreMutatesFromTheirOwnSeeds)
{
    const TBreedingGallery gallery(Bush, 4711, Lively());
    const TBreedGeneration& generation = gallery.Current();
    EXPECT_EQ(generation.Parent, Bush);
    EXPECT_EQ(generation.ParentSeed, 4711u);
    std::set<TLines> texts;
    for (int i = 1; i <= BreedChildCount; ++i) {
        SCOPED_TRACE(i);
        const TBreedChild& child = generation.Children[i - 1];
        EXPECT_EQ(child.Seed, ChildSeed(4711, 0, i));
        EXPECT_EQ(child.Fault, "");
        EXPECT_NE(child.Text, Bush);
        texts.insert(child.Text);
    }
    EXPECT_EQ(texts.size(), 8u); // lively bars: eight different children
}

TEST(Breeding, SameSeedBarsAndPicksGiveTheSameTexts)
{
    const std::vector<TPick> picks = {{3, 0}, {1, 5}, {8, 0}};
    TBreedingGallery a(Bush, 4711, Lively()), b(Bush, 4711, Lively());
    for (const TPick& pick : picks) {
        EXPECT_TRUE(a.Pick(pick.Child, pick.Second));
        EXPECT_TRUE(b.Pick(pick.Child, pick.Second));
    }
    EXPECT_EQ(a.LineageText(), "seed 4711: 3, 1+5, 8");
    EXPECT_EQ(a.Current().Parent, b.Current().Parent);
    for (int i = 0; i < BreedChildCount; ++i) EXPECT_EQ(a.Current().Children[i].Text, b.Current().Children[i].Text);

    TBreedingGallery other(Bush, 4712, Lively());
    for (const TPick& pick : picks) other.Pick(pick.Child, pick.Second);
    EXPECT_NE(other.Current().Parent, a.Current().Parent);
}

TEST(Breeding, BackAndForwardRestoreEveryGeneration)
{
    TBreedingGallery gallery(Bush, 99, Lively());
    EXPECT_FALSE(gallery.CanBack());
    EXPECT_EQ(gallery.LineageText(), "seed 99");
    std::vector<TBreedGeneration> seen = {gallery.Current()};
    for (const TPick pick : {TPick{2, 0}, TPick{7, 0}, TPick{4, 6}}) {
        gallery.Pick(pick.Child, pick.Second);
        seen.push_back(gallery.Current());
    }
    auto same = [](const TBreedGeneration& a, const TBreedGeneration& b) {
        for (int i = 0; i < BreedChildCount; ++i)
            if (a.Children[i].Text != b.Children[i].Text || a.Children[i].Seed != b.Children[i].Seed) return false;
        return a.Parent == b.Parent && a.ParentSeed == b.ParentSeed && a.Picks == b.Picks;
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

    // A new pick after going back drops the generations ahead.
    gallery.Back();
    gallery.Back();
    gallery.Pick(5);
    EXPECT_FALSE(gallery.CanForward());
    EXPECT_EQ(gallery.LineageText(), "seed 99: 2, 5");
    EXPECT_EQ(gallery.Current().Parent, seen[1].Children[4].Text);
}

TEST(Breeding, BadPicksChangeNothing)
{
    TBreedingGallery gallery(Bush, 5, DefaultMutatorBars());
    for (const TPick pick : {TPick{0, 0}, TPick{9, 0}, TPick{3, 3}, TPick{3, 9}}) {
        SCOPED_TRACE(testing::Message() << pick.Child << "+" << pick.Second);
        EXPECT_FALSE(gallery.Pick(pick.Child, pick.Second));
    }
    EXPECT_EQ(gallery.LineageText(), "seed 5");
}

TEST(Breeding, AnInvalidParentGivesChildrenWithTheReason)
{
    const TLines broken = {"4", "22", "", "A", "@"};
    const TBreedingGallery gallery(broken, 1, Lively());
    for (const TBreedChild& child : gallery.Current().Children) {
        EXPECT_EQ(child.Fault, "Please Check Input Data\r\nBlank Line in File");
        EXPECT_EQ(child.Text, broken);
    }
}
