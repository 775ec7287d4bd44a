// Whole frames of tiny scenes, checked pixel for pixel against pictures drawn
// by hand; test_reference_frames.cpp compares every other frame with a plain renderer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "render/gmp.h"
#include "render/scene_builder.h"

using namespace verdel;
using namespace verdel::test;

namespace {

constexpr TColor Red = 0x0000FF;
constexpr uint16_t Back = 0x0421; // a background no face produces

// A 10 x 8 renderer (centre 5, 4) with the light across the faces, so that
// faces at z = -500 get the ambient intensity 10.
std::unique_ptr<TGMP> SmallRenderer(TRenderMode mode)
{
    auto gmp = std::make_unique<TGMP>();
    gmp->Resize(10, 8);
    gmp->SetLightSource({1, 0, 0}, {0, 0, 0});
    gmp->RenderMode = mode;
    return gmp;
}

// The frame as text, top row first: '.' for the background, '#' for Ink, '?' otherwise.
std::vector<std::string> Picture(const TGMP& gmp, uint16_t ink)
{
    std::vector<std::string> rows;
    for (int r = gmp.Height() - 1; r >= 0; --r) {
        std::string row;
        for (int x = 0; x < gmp.Width(); ++x) {
            const uint16_t p = gmp.Bitmap().Pixel(x, r);
            row += p == Back ? '.' : p == ink ? '#' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> Render(TGMP& gmp, TFaceStore& store, uint16_t ink)
{
    const_cast<TDIB16bit&>(gmp.Bitmap()).Fill(Back);
    gmp.RenderScene(store);
    return Picture(gmp, ink);
}

// The 10 x 8 picture with columns x0..x1 of rows r0..r1 (from the bottom) inked.
std::vector<std::string> Block(int x0, int x1, int r0, int r1)
{
    std::vector<std::string> rows(8, std::string(10, '.'));
    for (int r = std::max(r0, 0); r <= std::min(r1, 7); ++r)
        for (int x = std::max(x0, 0); x <= std::min(x1, 9); ++x) rows[7 - r][x] = '#';
    return rows;
}

// Red lit at intensity 10: (255, 82, 82) in RGB555.
constexpr uint16_t ShadedRed = (31 << 10) | (10 << 5) | 10;

} // namespace

TEST(SolidFrame, ARectangleFillsItsRowsAndColumnsInclusive)
{
    auto gmp = SmallRenderer(rmSolidShade);
    auto store = std::make_unique<TFaceStore>();
    AddObject(*store, Red, {ScreenRect(-2, 2, -2, 2)});
    EXPECT_EQ(Render(*gmp, *store, ShadedRed), Block(3, 7, 2, 6));
    const TFaceNode& face = *store->Object(1).ViewFaces;
    EXPECT_EQ(face.FaceColor, 0x5252FFu);
    EXPECT_EQ(face.ShadeLevel, 10);
    EXPECT_EQ(face.FaceDepth, -500.0f);
    EXPECT_EQ(store->Object(1).Depth, -500.0f);
}

TEST(WireframeFrame, OutlinesInThePenColourWithoutTheirLastPoints)
{
    auto gmp = SmallRenderer(rmWireframe);
    auto store = std::make_unique<TFaceStore>();
    AddObject(*store, Red, {ScreenRect(-2, 2, -2, 2)});
    EXPECT_EQ(Render(*gmp, *store, 31 << 10), (std::vector<std::string>{
                                                  "..........",
                                                  "..........",
                                                  "...#####..",
                                                  "...#...#..",
                                                  "...#...#..",
                                                  "...#...#..",
                                                  "...#####..",
                                                  "..........",
                                              }));
}

TEST(TexturedFrame, OtherColoursUseTheTextureOfTheLastTexturedFace)
{
    auto gmp = SmallRenderer(rmShadedTexture);
    TRgbImage white(1, 1);
    white.SetPixel(0, 0, 255, 255, 255);
    gmp->SetLayerTexture(3, white);
    auto store = std::make_unique<TFaceStore>();
    AddObject(*store, 0x123456, {ScreenRect(-2, 2, -2, 2)});
    // Before any textured face the work texture is black.
    EXPECT_EQ(Render(*gmp, *store, 0), Block(3, 7, 2, 6));
    auto lime = std::make_unique<TFaceStore>();
    AddObject(*lime, LayerColors[3], {ScreenRect(-4, -4, -1, 1)});
    gmp->RenderScene(*lime);
    // Now the odd colour is painted with layer 3's white, shaded at level 10.
    const uint16_t grey = static_cast<uint16_t>(gmp->ShadeTable()[31][10] * 0x421);
    EXPECT_EQ(Render(*gmp, *store, grey)[3], "...#####..");
}

TEST(Renderer, SmallStatesAndEvents)
{
    auto gmp = std::make_unique<TGMP>();
    EXPECT_EQ(gmp->Width(), 200);
    EXPECT_EQ(gmp->Height(), 200);
    gmp->Resize(100, 1000);
    EXPECT_EQ(gmp->Height(), 1000);
    gmp->Resize(100, 5000);
    EXPECT_EQ(gmp->Height(), 4096);

    // Flip: the canvas of the frame first, then the presenter.
    std::string events;
    gmp->BeforeFlip = [&](TCanvas& canvas) {
        canvas.PenColor = 0xFFFFFF;
        canvas.MoveTo(0, 0);
        canvas.LineTo(3, 0);
        events += "before ";
    };
    gmp->Presenter = [&](const TDIB16bit& frame) { events += frame.Pixel(2, 4095) == 0x7FFF ? "shown" : "blank"; };
    gmp->SetBackColor(0x000000); // repaints at once
    EXPECT_EQ(events, "before shown");

    // White clears to 0x7FFF; an empty store draws nothing.
    gmp->BeforeFlip = nullptr;
    gmp->SetBackColor(0xFFFFFF);
    auto store = std::make_unique<TFaceStore>();
    gmp->RenderMode = rmSolidShade;
    gmp->RenderScene(*store);
    EXPECT_EQ(gmp->Bitmap().Pixel(50, 50), 0x7FFF);

    gmp->SetLightSource({3, 4, 5}, {3, 4, 5});
    EXPECT_EQ(gmp->LightDirection(), (TVector{0, 0, 0}));
    gmp->SetLightSource({0, 3, 4}, {0, 0, 0});
    EXPECT_EQ(gmp->LightDirection(), (TVector{0, 0.6f, 0.8f}));
}

TEST(Renderer, RotationTurnsModelCornersOnlyAndAccumulates)
{
    auto gmp = std::make_unique<TGMP>();
    auto store = std::make_unique<TFaceStore>();
    AddObject(*store, Red, {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}});
    gmp->RotateScene(*store, false, false, false, 1, 1, 1);
    EXPECT_EQ(store->Object(1).ModelFaces->Corners[0], (TVector{1, 2, 3}));
    // About z by 90 degrees and about x by 180: (1, 2, 3) -> (-2, 1, 3) -> (-2, -1, -3).
    const float quarter = 1.5707964f, half = 3.1415927f;
    gmp->RotateScene(*store, true, false, true, half, 0, quarter);
    const TVector p = store->Object(1).ModelFaces->Corners[0];
    EXPECT_NEAR(p.X, -2, 1e-6);
    EXPECT_NEAR(p.Y, -1, 1e-6);
    EXPECT_NEAR(p.Z, -3, 1e-6);
    EXPECT_EQ(store->Object(1).ViewFaces->Corners[0], (TVector{1, 2, 3}));
}

TEST(Renderer, OddWidthsKeepThePadPixelOfEachRow)
{
    auto gmp = std::make_unique<TGMP>();
    gmp->Resize(5, 4);
    EXPECT_EQ(gmp->Bitmap().Stride(), 12);
    gmp->SetBackColor(0x0000FF);
    auto store = std::make_unique<TFaceStore>();
    AddObject(*store, Red, {ScreenRect(-90, 90, -90, 90)});
    gmp->RenderMode = rmSolidShade;
    gmp->RenderScene(*store);
    const auto* words = reinterpret_cast<const uint16_t*>(gmp->Bitmap().Bits());
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(words[row * 6 + 4], ShadedRed);
        EXPECT_EQ(words[row * 6 + 5], 31 << 10);
    }
}

TEST(Renderer, AbsurdCoordinatesNeitherCrashNorWriteOutside)
{
    const float nan = std::nanf(""), inf = std::numeric_limits<float>::infinity();
    auto store = std::make_unique<TFaceStore>();
    AddObject(*store, Red,
              {{{nan, 1, -500}, {1, 2, -500}, {3, 1, -500}, {2, 0, -500}},
               {{1e30f, 1, -500}, {-1e30f, 2, -500}, {3, -1e30f, -500}, {2, 1e30f, -500}},
               {{inf, 1, -500}, {1, -inf, -500}, {1, 1, inf}, {2, 0, -inf}},
               {{1, 1, 1e-30f}, {-1, 1, -1e-30f}, {-1, -1, 1e-30f}, {1, -1, 1e-38f}},
               {{1, 1, 0}, {0, 0, 0}, {2, 2, -500}, {0, 0, -0.0f}}});
    AddObject(*store, LayerColors[3], {{{5e6f, 1, -1e-20f}, {-5e6f, 2, 1e-20f}, {3, 9e6f, -500}}});
    for (const TRenderMode mode : {rmWireframe, rmSolidShade, rmShadedTexture}) {
        SCOPED_TRACE(static_cast<int>(mode));
        auto gmp = SmallRenderer(mode);
        gmp->RenderScene(*store);
        // The renderer stays sound: a plain square drawn next gives the same
        // frame as on a renderer that never saw the absurd corners.
        auto square = std::make_unique<TFaceStore>();
        AddObject(*square, Red, {ScreenRect(-2, 2, -2, 2)});
        auto fresh = SmallRenderer(mode);
        for (TGMP* renderer : {gmp.get(), fresh.get()}) {
            renderer->ClearToBackColor();
            renderer->RenderScene(*square);
        }
        EXPECT_EQ(Picture(*gmp, ShadedRed), Picture(*fresh, ShadedRed));
        EXPECT_EQ(0, std::memcmp(gmp->Bitmap().Bits(), fresh->Bitmap().Bits(),
                                 static_cast<size_t>(gmp->Bitmap().Stride()) * 8));
    }
}
