#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "engine/growth.h"
#include "support/scripted_prompt.h"

using namespace verdel;

namespace {

struct TGrown {
    std::unique_ptr<TFaceStore> Store = std::make_unique<TFaceStore>();
    TGenerationResult Result;
};

// The model of Lines grown to Value, or generated as written when no value is given.
TGrown Grow(const TLines& lines, std::optional<float> value = std::nullopt)
{
    TGrown grown;
    auto state = std::make_unique<TDefinitionState>();
    test::TYesPrompt prompt;
    TRandomSource random;
    grown.Result = value ? GenerateGrowth(lines, *value, {}, prompt, *state, *grown.Store, random)
                         : GenerateModel(lines, {}, prompt, *state, *grown.Store, random);
    return grown;
}

// Whether two stores hold the same objects, face for face and corner for corner.
bool SameModel(const TFaceStore& a, const TFaceStore& b)
{
    if (a.ObjectCount != b.ObjectCount || a.LayerUsed != b.LayerUsed) return false;
    for (int k = 1; k <= a.ObjectCount; ++k) {
        const TFaceNode* p = a.Object(k).ModelFaces;
        const TFaceNode* q = b.Object(k).ModelFaces;
        for (; p && q; p = p->Next, q = q->Next)
            for (int c = 0; c < 4; ++c)
                if (!(p->Corners[c] == q->Corners[c])) return false;
        if (p || q || a.Object(k).Color != b.Object(k).Color) return false;
    }
    return true;
}

const TLines Sprout = {"# a shoot", "2.5   # iterations", "30", "10", "A", "A=F[+A]", "@"};

} // namespace

TEST(Growth, ReadsAndRewritesTheFirstValueLine)
{
    EXPECT_EQ(IterationValue(Sprout), 2.5f);
    EXPECT_EQ(IterationValue({"# only a comment"}), std::nullopt);
    EXPECT_EQ(IterationValue({"x", "30"}), std::nullopt);

    TLines grown = WithIterationValue(Sprout, 1.25f);
    EXPECT_EQ(grown[1], "1.25   # iterations"); // the comment stays
    grown[1] = Sprout[1];
    EXPECT_EQ(grown, Sprout);
    EXPECT_EQ(WithIterationValue({"7#seven"}, 3)[0], "3#seven");
    // Values whose shortest decimal text is long or awkward: thirds, tiny and large ones.
    for (const float value : {0.0f, 1.0f / 3, 2.0f / 3 * 7, 1e-7f, 0.1f, 6.99999952f, 12345.678f}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(IterationValue(WithIterationValue(Sprout, value)), value);
    }
}

TEST(Growth, EndsOfTheRangeGiveTheModelsOfThoseValues)
{
    // A bundled sample with a fractional value, and one with a comment after its value.
    const TLines fractional = ReadLinesFromFile(std::string(VERDEL_DATA) + "/vdfiles/fractional.vd");
    const struct {
        const char* Name;
        TLines Full;
        TLines AtZero;
    } cases[] = {
        {"fractional", fractional, WithIterationValue(fractional, 0)},
        {"sprout", Sprout, {"# a shoot", "0", "30", "10", "A", "A=F[+A]", "@"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TGrown whole = Grow(c.Full), grownFull = Grow(c.Full, *IterationValue(c.Full));
        ASSERT_EQ(whole.Result.Status, TGenerationStatus::Done);
        EXPECT_GT(whole.Store->ObjectCount, 0);
        EXPECT_TRUE(SameModel(*whole.Store, *grownFull.Store));
        EXPECT_EQ(whole.Result.ProductionLength, grownFull.Result.ProductionLength);
        EXPECT_TRUE(SameModel(*Grow(c.AtZero).Store, *Grow(c.Full, 0).Store));
    }
}

TEST(Growth, AFractionDrawsTheLastSegmentPartGrown)
{
    // "A=FA" adds one segment of 100 a step, up the z axis; a fraction of a
    // step draws its segment at that fraction of the length.
    const TLines shoot = {"4", "30", "0", "A", "A=FA", "@"};
    const struct {
        float Value;
        int Objects;
        float Top;
    } cases[] = {{0, 0, 0}, {1, 1, 100}, {1.5f, 2, 150}, {2.25f, 3, 225}, {3, 3, 300}, {4, 4, 400}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        const TGrown grown = Grow(shoot, c.Value);
        EXPECT_EQ(grown.Result.ObjectCount, c.Objects);
        EXPECT_FLOAT_EQ(grown.Store->MaxZ, c.Top);
    }
}

TEST(Growth, ValuesAreEvenlySpacedWithBothEnds)
{
    EXPECT_EQ(GrowthValues(0, 7, 5), (std::vector<float>{0, 1.75f, 3.5f, 5.25f, 7}));
    EXPECT_EQ(GrowthValues(1, 3, 1), std::vector<float>{3});
    EXPECT_TRUE(GrowthValues(1, 3, 0).empty());
    const std::vector<float> many = GrowthValues(0.5f, 2.9f, 97);
    EXPECT_EQ(many.front(), 0.5f);
    EXPECT_EQ(many.back(), 2.9f);
    for (size_t k = 1; k < many.size(); ++k) EXPECT_NEAR(many[k] - many[k - 1], 0.025f, 1e-6f);
}

TEST(Growth, ExchangingModelsKeepsEachViewInPlace)
{
    const TLines freshLines = {"1", "30", "10", "c(3)F", "F=FF", "@"};
    TGrown shown = Grow({"2", "30", "10", "F", "F=F[+F]", "@"}), fresh = Grow(freshLines);
    shown.Store->TranslateZ = -500;
    fresh.Store->TranslateZ = -7;
    const int shownCount = shown.Store->ObjectCount;
    ExchangeModels(*shown.Store, *fresh.Store);
    EXPECT_EQ(fresh.Store->ObjectCount, shownCount);
    EXPECT_EQ(shown.Store->TranslateZ, -500);
    EXPECT_EQ(fresh.Store->TranslateZ, -7);
    // The exchanged model, bounds included, is the one a fresh generation gives.
    const TGrown again = Grow(freshLines);
    EXPECT_TRUE(SameModel(*shown.Store, *again.Store));
    EXPECT_EQ(shown.Store->MaxZ, again.Store->MaxZ);
}
