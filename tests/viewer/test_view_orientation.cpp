#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "render/gmp.h"
#include "render/scene_builder.h"
#include "support/models.h"
#include "viewer/view_orientation.h"

using namespace verdel;

namespace {

constexpr float Degree = static_cast<float>(std::numbers::pi / 180);

const TLines Plant = {"3", "25", "10", "F", "F=F[&+F]>>[^F]", "@"};

// The largest distance between corresponding corners of two stores of the same model.
float LargestGap(const TFaceStore& a, const TFaceStore& b)
{
    float gap = 0;
    for (int k = 1; k <= a.ObjectCount; ++k)
        for (const TFaceNode *p = a.Object(k).ModelFaces, *q = b.Object(k).ModelFaces; p && q; p = p->Next, q = q->Next)
            for (int c = 0; c < p->CornerCount; ++c) gap = std::max(gap, Length(p->Corners[c] - q->Corners[c]));
    return gap;
}

// A series of the renderer's turns: which axes, and the angles about x, y and z.
struct TTurn {
    bool X, Y, Z;
    float AngleX, AngleY, AngleZ;
};

} // namespace

TEST(ViewOrientation, TurnsReadBackFromTheModelApplyToAFreshCopy)
{
    const struct {
        const char* Name;
        std::vector<TTurn> Turns;
    } cases[] = {
        {"none", {}},
        {"one small step", {{true, false, false, 2.5f * Degree, 0, 0}}},
        {"forty steps of the navigation", std::vector<TTurn>(40, {false, true, false, 0, 2.5f * Degree, 0})},
        {"all three axes at once", {{true, true, true, 30 * Degree, -70 * Degree, 110 * Degree}}},
        {"half a turn", {{false, false, true, 0, 0, 180 * Degree}}},
        {"mixed",
         {{true, false, false, 45 * Degree, 0, 0},
          {false, false, true, 0, 0, -20 * Degree},
          {false, true, false, 0, 95 * Degree, 0}}},
    };
    TGMP gmp;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto shown = test::GenerateStore(Plant);
        TOrientationProbe probe;
        probe.Sample(*shown);
        for (const TTurn& t : c.Turns) gmp.RotateScene(*shown, t.X, t.Y, t.Z, t.AngleX, t.AngleY, t.AngleZ);

        auto fresh = test::GenerateStore(Plant);
        ApplyRotation(*fresh, probe.Recover(*shown));
        // Corners lie up to about 300 from the origin; rounding of many steps stays far below a pixel's worth.
        EXPECT_LT(LargestGap(*shown, *fresh), 0.01f);
    }
}

TEST(ViewOrientation, AModelOnOneLineStillTurnsItsLine)
{
    // Corners on the z axis only: the turn about that axis cannot be seen, the tilt of the axis can.
    auto store = std::make_unique<TFaceStore>();
    test::AddObject(*store, 0xFF, {{{0, 0, 10}, {0, 0, 20}, {0, 0, 30}, {0, 0, 40}}});
    TOrientationProbe probe;
    probe.Sample(*store);
    TGMP gmp;
    gmp.RotateScene(*store, true, false, false, 90 * Degree, 0, 0); // the z axis turns onto -y
    const TVector top = store->Object(1).ModelFaces->Corners[3];
    const TVector turned = probe.Recover(*store).Apply({0, 0, 40});
    EXPECT_LT(Length(turned - top), 1e-3f);
}

TEST(ViewOrientation, NothingSampledOrGoneGivesNoTurn)
{
    auto empty = std::make_unique<TFaceStore>();
    TOrientationProbe probe;
    probe.Sample(*empty);
    EXPECT_TRUE(probe.Empty());
    const TVector p{1, 2, 3};
    EXPECT_EQ(probe.Recover(*test::GenerateStore(Plant)).Apply(p), p);

    auto shown = test::GenerateStore(Plant);
    probe.Sample(*shown);
    EXPECT_FALSE(probe.Empty());
    EXPECT_EQ(probe.Recover(*empty).Apply(p), p); // the store no longer holds the sampled corners
}
