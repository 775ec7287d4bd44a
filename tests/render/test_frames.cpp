// What the plain reference renderer cannot tell: the meaning of its pixels
// drawn by hand, the renderer's states and events,
// turns of the model, and the exact rounding of projections and shading.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "render/gmp.h"
#include "render/render_math.h"
#include "render/scene_builder.h"
#include "render/shading.h"

using namespace verdel;
using namespace verdel::test;

namespace {

constexpr TColor Red = 0x0000FF;
constexpr uint16_t Back = 0x0421;                                // a background no face produces
constexpr uint16_t ShadedRed = (31 << 10) | (10 << 5) | 10;      // red lit at the ambient 10
constexpr uint16_t Pen = 31 << 10;                               // red as the wireframe pen

// A 10 x 8 frame of the square ScreenRect(-2, 2, -2, 2) drawn in Mode with the
// light across it, as text from the top row: '.' background, '#' Ink, '?' other.
std::vector<std::string> SquarePicture(TRenderMode Mode, uint16_t Ink)
{
    auto gmp = std::make_unique<TGMP>();
    gmp->Resize(10, 8);
    gmp->SetLightSource({1, 0, 0}, {0, 0, 0});
    gmp->RenderMode = Mode;
    auto store = std::make_unique<TFaceStore>();
    AddObject(*store, Red, {ScreenRect(-2, 2, -2, 2)});
    const_cast<TDIB16bit&>(gmp->Bitmap()).Fill(Back);
    gmp->RenderScene(*store);
    std::vector<std::string> rows;
    for (int r = 7; r >= 0; --r) {
        std::string row;
        for (int x = 0; x < 10; ++x) {
            const uint16_t p = gmp->Bitmap().Pixel(x, r);
            row += p == Back ? '.' : p == Ink ? '#' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(HandDrawnFrames, FillsIncludeTheirLastRowAndColumnOutlinesLeaveOutTheirLastPoint)
{
    EXPECT_EQ(SquarePicture(rmSolidShade, ShadedRed),
              (std::vector<std::string>{"..........", "...#####..", "...#####..", "...#####..", "...#####..",
                                        "...#####..", "..........", ".........."}));
    EXPECT_EQ(SquarePicture(rmWireframe, Pen),
              (std::vector<std::string>{"..........", "..........", "...#####..", "...#...#..", "...#...#..",
                                        "...#...#..", "...#####..", ".........."}));
}

TEST(Renderer, SizesLightAndTheEventsOfAFlip)
{
    auto gmp = std::make_unique<TGMP>();
    gmp->Resize(100, 5000);
    EXPECT_EQ(gmp->Height(), 4096);
    // A flip: the canvas of the frame first, then the presenter; a new background repaints at once.
    std::string events;
    gmp->BeforeFlip = [&](TCanvas& canvas) {
        canvas.PenColor = 0xFFFFFF;
        canvas.MoveTo(0, 0);
        canvas.LineTo(3, 0);
        events += "before ";
    };
    gmp->Presenter = [&](const TDIB16bit& frame) { events += frame.Pixel(2, 4095) == 0x7FFF ? "shown" : "blank"; };
    gmp->SetBackColor(0x000000);
    EXPECT_EQ(events, "before shown");
    // The light: a unit vector from the target, none when both are one point.
    gmp->SetLightSource({3, 4, 5}, {3, 4, 5});
    EXPECT_EQ(gmp->LightDirection(), (TVector{0, 0, 0}));
    gmp->SetLightSource({0, 3, 4}, {0, 0, 0});
    EXPECT_EQ(gmp->LightDirection(), (TVector{0, 0.6f, 0.8f}));
}

TEST(Renderer, TurnsGoAboutZThenXThenYAndOnlyTheModelCorners)
{
    auto store = std::make_unique<TFaceStore>();
    AddObject(*store, Red, {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}});
    TGMP::RotateScene(*store, false, false, false, 1, 1, 1);
    EXPECT_EQ(store->Object(1).ModelFaces->Corners[0], (TVector{1, 2, 3}));
    // (1, 2, 3) a quarter about z: (-2, 1, 3); half about x: (-2, -1, -3); a quarter about y: (-3, -1, 2).
    TGMP::RotateScene(*store, true, true, true, 3.1415927f, 1.5707964f, 1.5707964f);
    const TVector p = store->Object(1).ModelFaces->Corners[0];
    EXPECT_NEAR(p.X, -3, 1e-6);
    EXPECT_NEAR(p.Y, -1, 1e-6);
    EXPECT_NEAR(p.Z, 2, 1e-6);
    EXPECT_EQ(store->Object(1).ViewFaces->Corners[0], (TVector{1, 2, 3}));
}

TEST(Rounding, HalvesGoToEvenAndAbsurdValuesAreLimited)
{
    const long double inf = std::numeric_limits<long double>::infinity();
    const std::pair<long double, int32_t> cases[] = {
        {0.5L, 0},  {1.5L, 2},  {2.5L, 2},         {-0.5L, 0},        {-1.5L, -2},  {-2.5L, -2},
        {2.4999L, 2}, {3.5001L, 4}, {1e30L, ProjectionLimit}, {-1e30L, -ProjectionLimit},
        {inf, ProjectionLimit}, {std::numeric_limits<long double>::quiet_NaN(), 0}};
    for (const auto& [value, expected] : cases) EXPECT_EQ(RoundClamped(value), expected) << double(value);
}

// Colours whose channels repeat are lit two channels at a time: every
// colour, layer or not, must get what each channel gets on its own, also at
// intensities that put a channel's step on or next to a half, which random
// frames seldom meet.
TEST(Shading, ShadedColoursAreEachChannelShadedAlone)
{
    std::vector<TColor> colours(LayerColors.begin(), LayerColors.end());
    colours.insert(colours.end(), {0x000000, 0xFFFFFF, 0x123456, 0x808001, 0xFF00FE, 0xC0C0C0});
    std::vector<float> intensities;
    for (float i = 10; i <= 31; i += 0.0625f) intensities.push_back(i);
    for (int k = 40; k <= 127; ++k) { // 127 x 0.032258 x I = k + 0.5
        const float i = static_cast<float>((k + 0.5) / (127 * 0.032258));
        intensities.insert(intensities.end(), {i, std::nextafter(i, 0.0f), std::nextafter(i, 100.0f)});
    }
    for (const TColor colour : colours)
        for (const float i : intensities) {
            const TColor alone = static_cast<TColor>(ShadeChannel(colour & 0xFF, i)) |
                                 static_cast<TColor>(ShadeChannel((colour >> 8) & 0xFF, i)) << 8 |
                                 static_cast<TColor>(ShadeChannel((colour >> 16) & 0xFF, i)) << 16;
            if (ShadeColor(colour, i) != alone) FAIL() << std::hex << colour << " at " << i;
        }
    EXPECT_EQ(ShadeChannel(128, 10), 128 + 41); // 127 x 0.32258 = 40.97
}
