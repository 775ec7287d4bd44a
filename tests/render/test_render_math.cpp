#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/face_store.h"
#include "render/render_math.h"
#include "render/shading.h"

using namespace verdel;

TEST(Rounding, HalvesGoToEvenAndAbsurdValuesAreLimited)
{
    const struct {
        long double value;
        int32_t expected;
    } cases[] = {{0.5L, 0},
                 {1.5L, 2},
                 {2.5L, 2},
                 {-0.5L, 0},
                 {-1.5L, -2},
                 {-2.5L, -2},
                 {2.4999L, 2},
                 {3.5001L, 4},
                 {1e30L, ProjectionLimit},
                 {-1e30L, -ProjectionLimit},
                 {std::numeric_limits<long double>::infinity(), ProjectionLimit},
                 {std::numeric_limits<long double>::quiet_NaN(), 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.value));
        EXPECT_EQ(RoundClamped(c.value), c.expected);
    }
}

TEST(Projection, ColumnsAndRowsRoundHalfToEvenFromTheCentre)
{
    TProjection projection{500, 100, 80};
    // 500 x 1 / -1000 = -0.5 rounds to 0; 500 x 3 / -1000 = -1.5 rounds to -2.
    EXPECT_EQ(projection.Column(1, -1000), 100);
    EXPECT_EQ(projection.Column(3, -1000), 98);
    EXPECT_EQ(projection.Column(5, -1000), 98); // -2.5 rounds to -2
    // Rows: Round(CY - q) and, on the canvas, Round(CY + q).
    EXPECT_EQ(projection.Row(1, -1000), 80);       // 80.5 -> 80
    EXPECT_EQ(projection.CanvasRow(1, -1000), 80); // 79.5 -> 80
    EXPECT_EQ(projection.Row(3, -1000), 82);       // 81.5 -> 82
    EXPECT_EQ(projection.CanvasRow(3, -1000), 78); // 78.5 -> 78
    // A point behind the eye is mirrored, not dropped; one near z = 0 is limited.
    EXPECT_EQ(projection.Column(10, 500), 110);
    EXPECT_EQ(projection.Column(1, 1e-30f), 100 + ProjectionLimit);
    EXPECT_FALSE(TProjection::Projectable({1, 1, 0}));
    EXPECT_FALSE(TProjection::Projectable({std::nanf(""), 1, -5}));
    EXPECT_TRUE(TProjection::Projectable({1, 1, 1e-30f}));
}

TEST(ColorTo16, ChannelValuesFollowTheSinglePrecisionSteps)
{
    const int cases[][2] = {{0, 0}, {8, 1}, {16, 2}, {128, 16}, {200, 24}, {251, 30}, {252, 31}, {255, 31}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(Channel8To5(c[0]), c[1]);
        EXPECT_EQ(ColorTo16(static_cast<TColor>(c[0])), c[1] << 10);     // red
        EXPECT_EQ(ColorTo16(static_cast<TColor>(c[0]) << 8), c[1] << 5); // green
        EXPECT_EQ(ColorTo16(static_cast<TColor>(c[0]) << 16), c[1]);     // blue
    }
    EXPECT_EQ(ColorTo16(0xFFFFFF), 0x7FFF);
    EXPECT_EQ(ColorTo16(0), 0);
}

TEST(ColorTo16, PenAndWideningConversions)
{
    EXPECT_EQ(PenTo16(0x0780FF), (31 << 10) | (16 << 5) | 0); // low three bits dropped
    EXPECT_EQ(Widen5(31), 255);
    EXPECT_EQ(Widen5(16), 132);
    EXPECT_EQ(Widen5(1), 8);
    EXPECT_EQ(Color16ToColor(0x7FFF), 0xFFFFFFu);
    EXPECT_EQ(Color16ToColor(31 << 10), 0x0000FFu);
}

TEST(ShadeTable, RowsOfTheKnownExamples)
{
    const TShadeTable table = BuildShadeTable();
    const int row0[32] = {0, 0, 0, 0, 0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
                          2, 4, 6, 8, 10, 12, 14, 16, 17, 19, 21, 23, 25, 27, 29, 31};
    const int row16[32] = {0,  1,  2,  3,  4,  5,  6,  7,  9,  10, 11, 12, 13, 14, 15, 16,
                           17, 18, 19, 20, 21, 22, 23, 24, 24, 25, 26, 27, 28, 29, 30, 31};
    const int row31[15] = {0, 2, 4, 6, 8, 10, 12, 14, 17, 19, 21, 23, 25, 27, 29};
    for (int s = 0; s < 32; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(table[0][s], row0[s]);
        EXPECT_EQ(table[16][s], row16[s]);
        EXPECT_EQ(table[31][s], s < 15 ? row31[s] : 31);
    }
    for (int c = 0; c < 32; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(table[c][15], c);
        EXPECT_EQ(table[c][31], 31);
    }
}

TEST(Shading, IntensityAndShadedColours)
{
    const TLighting light{{0, 0, -1}, 0.75f, 10};
    // Normal straight along the light: 10 + 23.25 = 33.25, held at 31.
    EXPECT_EQ(FaceIntensity({0, 0, 0}, {0, 1, 0}, {1, 0, 0}, light), 31.0f);
    // Facing away: no light, the ambient 10.
    EXPECT_EQ(FaceIntensity({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, light), 10.0f);
    // Repeated corners give a normal of exactly zero (no fused multiply-add).
    const TVector p0{0.1f, 0.7f, -3.3f}, p1{1.7f, 2.9f, -3.1f};
    EXPECT_EQ(FaceIntensity(p0, p1, p1, {{0.6f, 0.64f, -0.48f}, 0.75f, 10}), 10.0f);
    const TVector a{0.3f, 0.1f, 0.7f};
    EXPECT_EQ(FaceIntensity(p0, p0 + a, p0 + a, {{0.6f, 0.64f, -0.48f}, 0.75f, 10}), 10.0f);
    // The red layer at I = 10: 0 becomes Round(255 x 0.032258 x 10) = 82.
    EXPECT_EQ(ShadeColor(0x0000FF, 10), 0x5252FFu);
    // At I = 31 every channel reaches 255.
    EXPECT_EQ(ShadeColor(0x008000, 31), 0xFFFFFFu);
    EXPECT_EQ(ShadeChannel(128, 10), 128 + 41); // 127 x 0.32258 = 40.97
}

// Colours whose channels repeat are lit two channels at a time: every
// colour, layer or not, must get what each channel gets on its own, also at
// intensities that put a channel's step on or next to a half.
TEST(Shading, ShadedColoursAreEachChannelShadedAlone)
{
    std::vector<TColor> colours(LayerColors.begin(), LayerColors.end());
    for (const TColor extra : {0x00000000u, 0x00FFFFFFu, 0x00123456u, 0x00808001u, 0x00FF00FEu, 0x00C0C0C0u})
        colours.push_back(extra);
    std::vector<float> intensities;
    for (float i = 10; i <= 31; i += 0.0625f) intensities.push_back(i);
    // Intensities near the halves: 127 x 0.032258 x I = k + 0.5.
    for (int k = 40; k <= 127; ++k) {
        const float i = static_cast<float>((k + 0.5) / (127 * 0.032258));
        intensities.insert(intensities.end(), {i, std::nextafter(i, 0.0f), std::nextafter(i, 100.0f)});
    }
    for (const TColor colour : colours) {
        for (const float i : intensities) {
            const TColor expected = static_cast<TColor>(ShadeChannel(colour & 0xFF, i)) |
                                    static_cast<TColor>(ShadeChannel((colour >> 8) & 0xFF, i)) << 8 |
                                    static_cast<TColor>(ShadeChannel((colour >> 16) & 0xFF, i)) << 16;
            if (ShadeColor(colour, i) != expected) FAIL() << std::hex << colour << " at " << i;
        }
    }
}
