// Whole frames of tiny scenes, checked pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "formats/model_reader.h"
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

TEST(SolidFrame, EveryFaceIsShadedForItsOwnLightWhateverTheFacesBeforeIt)
{
    // Faces facing the light (along +x) at different slants, and faces edge-on
    // to it at the ambient level, in runs and alternating, in two colours:
    // each face must get the colour it gets as the only face of its object
    // (the second object starts at the level the first one ends with).
    const TCorners flat = ScreenRect(-2, 2, -2, 2);
    const TCorners steep = {{1, 2, -498}, {1, -2, -498}, {-1, -2, -502}, {-1, 2, -502}};
    const TCorners slight = {{2, 2, -499}, {2, -2, -499}, {-2, -2, -501}, {-2, 2, -501}};
    const std::vector<TCorners> faces = {flat, flat, steep, flat, slight, slight, steep, flat};
    auto gmp = SmallRenderer(rmSolidShade);
    gmp->SetThreadCount(1); // both objects in one walk
    auto store = std::make_unique<TFaceStore>();
    for (const TColor color : {Red, TColor{0x40C020}}) {
        const int k = AddObject(*store, color, {});
        for (const TCorners& corners : faces) {
            const int one = AddObject(*store, color, {corners});
            // Move the single face's nodes over to object k, keeping their order.
            TFaceObject& object = store->Object(k);
            TFaceNode** model = &object.ModelFaces;
            TFaceNode** view = &object.ViewFaces;
            while (*model) model = &(*model)->Next, view = &(*view)->Next;
            *model = store->Object(one).ModelFaces;
            *view = store->Object(one).ViewFaces;
            ++object.FaceCount;
            store->ObjectCount = k;
        }
    }
    gmp->RenderScene(*store);
    for (int k = 1; k <= 2; ++k) {
        const TFaceObject& object = store->Object(k);
        std::vector<TColor> colors;
        for (const TFaceNode* face = object.ViewFaces; face; face = face->Next) colors.push_back(face->FaceColor);
        ASSERT_EQ(colors.size(), faces.size());
        for (size_t f = 0; f < faces.size(); ++f) {
            SCOPED_TRACE(::testing::Message() << "object " << k << " face " << f);
            auto alone = std::make_unique<TFaceStore>();
            AddObject(*alone, object.Color, {faces[f]});
            gmp->RenderScene(*alone);
            EXPECT_EQ(colors[f], alone->Object(1).ViewFaces->FaceColor);
            EXPECT_EQ(ColorTo16(colors[f]), alone->Object(1).ViewFaces->FaceColor16);
        }
        // Three slants: the scene does give different colours in a row.
        EXPECT_EQ(std::set<TColor>(colors.begin(), colors.end()).size(), 3u);
    }
    EXPECT_EQ(store->Object(1).ViewFaces->FaceColor, 0x5252FFu);
}

TEST(SolidFrame, FacesAreClippedAtEveryEdgeOfTheBuffer)
{
    const struct {
        const char* name;
        TCorners rect;
        std::vector<std::string> picture;
    } cases[] = {
        {"left", ScreenRect(-9, -3, -1, 1), Block(0, 2, 3, 5)},
        {"right", ScreenRect(2, 9, -1, 1), Block(7, 9, 3, 5)},
        {"top", ScreenRect(-1, 0, 1, 9), Block(4, 5, 5, 7)},
        {"bottom", ScreenRect(-1, 0, -9, -2), Block(4, 5, 0, 2)},
        {"all round", ScreenRect(-90, 90, -90, 90), Block(0, 9, 0, 7)},
        {"outside left", ScreenRect(-30, -6, -1, 1), Block(1, 0, 0, 0)},
        {"outside right", ScreenRect(5, 30, -1, 1), Block(1, 0, 0, 0)},
        {"sliver", ScreenRect(-1, 1, 0, 1), Block(4, 6, 4, 5)},     // one pixel high: two rows
        {"horizontal", ScreenRect(-3, 3, 0, 0), Block(1, 0, 0, 0)}, // only horizontal edges
        // Corners far beyond the 16-bit range are drawn from the face nodes, the same way.
        {"far right", ScreenRect(-2, 40000, -2, 2), Block(3, 9, 2, 6)},
        {"far below", ScreenRect(-2, 2, -90000, 2), Block(3, 7, 0, 6)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto gmp = SmallRenderer(rmSolidShade);
        auto store = std::make_unique<TFaceStore>();
        AddObject(*store, Red, {c.rect});
        EXPECT_EQ(Render(*gmp, *store, ShadedRed), c.picture);
    }
}

TEST(SolidFrame, ACornerAtZeroDropsItsEdgesOnly)
{
    auto gmp = SmallRenderer(rmSolidShade);
    auto store = std::make_unique<TFaceStore>();
    TCorners corners = ScreenRect(-2, 2, -2, 2);
    corners[2] = {0, 0, 0}; // bottom left: its two edges go; the right edge and the top remain
    AddObject(*store, Red, {corners});
    EXPECT_EQ(Render(*gmp, *store, ShadedRed), Block(7, 7, 2, 6));
}

TEST(SolidFrame, NearerObjectsArePaintedLastWhateverTheirTableOrder)
{
    auto gmp = SmallRenderer(rmSolidShade);
    auto store = std::make_unique<TFaceStore>();
    // First in the table, nearer: x and y -0.5..0.5 at z -250 are columns 4..6, rows 3..5.
    AddObject(*store, Red, {{{0.5f, 0.5f, -250}, {0.5f, -0.5f, -250}, {-0.5f, -0.5f, -250}, {-0.5f, 0.5f, -250}}});
    AddObject(*store, 0x00FF00, {ScreenRect(-3, 3, -3, 3)}); // columns 2..8, rows 1..7
    const uint16_t green = ColorTo16(ShadeColor(0x00FF00, 10));
    const std::vector<std::string> picture = Render(*gmp, *store, green);
    EXPECT_EQ(gmp->DrawOrder()[0], 2);
    EXPECT_EQ(gmp->DrawOrder()[1], 1);
    EXPECT_EQ(picture[1], "..#######.");
    EXPECT_EQ(picture[3], "..##???##.");
    EXPECT_EQ(store->Object(1).Depth, -250.0f);
}

TEST(SolidFrame, TheFacesOfAMeshReadFromAFileAreDrawnBackToFront)
{
    // A closed cube whose near face (at turn 0) is listed first, so that list order would paint it over.
    const std::string obj = "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                            "f 5 6 7 8\nf 1 4 3 2\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n";
    struct TTurn {
        float X, Y; // radians about x, then y
        float Distance;
    };
    // The last turn brings the near face so close that its neighbours leave the face cache's 16-bit range.
    const TTurn turns[] = {{0, 0, 8}, {0.5f, 0.3f, 8}, {2.0f, -0.7f, 8}, {-1.2f, 2.5f, 8}, {3.0f, 1.0f, 8}, {0, 0, 1.01f}};
    for (const TTurn& turn : turns)
        for (const int threads : {1, 2}) {
            SCOPED_TRACE(std::to_string(turn.X) + "," + std::to_string(turn.Y) + " threads " + std::to_string(threads));
            Assimp::Importer importer;
            const aiScene* scene = importer.ReadFileFromMemory(obj.data(), obj.size(), 0, "obj");
            ASSERT_NE(scene, nullptr);
            auto store = std::make_unique<TFaceStore>();
            StoreScene(*scene, *store, "cube.obj");
            ASSERT_EQ(store->ObjectCount, 1);
            auto gmp = std::make_unique<TGMP>();
            gmp->Resize(200, 200);
            gmp->SetThreadCount(threads);
            gmp->SetLightSource({1, 2, 3}, {0, 0, 0});
            gmp->RenderMode = rmSolidShade;
            gmp->RotateScene(*store, true, true, false, turn.X, turn.Y, 0);
            store->TranslateZ = -turn.Distance;
            gmp->RenderScene(*store);
            // The face whose corners lie nearest on average, and the farthest one.
            const TFaceNode *nearest = nullptr, *farthest = nullptr;
            const auto depth = [](const TFaceNode* f) { return f->Corners[0].Z + f->Corners[1].Z + f->Corners[2].Z + f->Corners[3].Z; };
            for (const TFaceNode* f = store->Object(1).ViewFaces; f; f = f->Next) {
                if (!nearest || depth(f) > depth(nearest)) nearest = f;
                if (!farthest || depth(f) < depth(farthest)) farthest = f;
            }
            ASSERT_NE(nearest->FaceColor16, farthest->FaceColor16); // else the picture could not tell them apart
            TVector centre;
            for (const TVector& c : nearest->Corners) centre = centre + TVector{c.X / 4, c.Y / 4, c.Z / 4};
            const int column = 100 + static_cast<int>(std::lround(500 * centre.X / centre.Z));
            const int row = 100 - static_cast<int>(std::lround(500 * centre.Y / centre.Z));
            EXPECT_EQ(gmp->Bitmap().Pixel(column, row), nearest->FaceColor16);
        }
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

TEST(WireframeFrame, ACornerAtZeroDropsItsTwoEdges)
{
    auto gmp = SmallRenderer(rmWireframe);
    auto store = std::make_unique<TFaceStore>();
    TCorners corners = ScreenRect(-2, 2, -2, 2);
    corners[2] = {0, 0, 0};
    AddObject(*store, Red, {corners});
    // Left: P0 -> P1 (right side, canvas rows 2..5) and P3 -> P0 (top, columns 3..6).
    EXPECT_EQ(Render(*gmp, *store, 31 << 10), (std::vector<std::string>{
                                                  "..........",
                                                  "..........",
                                                  "...#####..",
                                                  ".......#..",
                                                  ".......#..",
                                                  ".......#..",
                                                  "..........",
                                                  "..........",
                                              }));
}

TEST(TexturedFrame, TheQuadShowsTheWholeTextureShadedByItsLevel)
{
    auto gmp = SmallRenderer(rmShadedTexture);
    TRgbImage image(128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) image.SetPixel(x, y, static_cast<uint8_t>(2 * x), static_cast<uint8_t>(2 * y), 0);
    gmp->SetLayerTexture(7, image);
    auto store = std::make_unique<TFaceStore>();
    AddObject(*store, Red, {ScreenRect(-2, 2, -2, 2)});
    const_cast<TDIB16bit&>(gmp->Bitmap()).Fill(Back);
    gmp->RenderScene(*store);
    // Rows 2..6 (bottom up) show texture rows V = 127, 95, 63, 31, 0; columns 3..7
    // texture columns U = 0, 25, 50, 76, 101 (steps of 32512 / 5 = 6502 in 1/256).
    const int u[5] = {0, 25, 50, 76, 101}, v[5] = {127, 95, 63, 31, 0};
    const auto& table = gmp->ShadeTable();
    for (int k = 0; k < 5; ++k) {
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE(::testing::Message() << "row " << 2 + k << " column " << 3 + i);
            const uint16_t texel = ColorTo16(image.Pixel(u[i], v[k]));
            const uint16_t shaded = static_cast<uint16_t>((table[(texel >> 10) & 31][10] << 10) |
                                                          (table[(texel >> 5) & 31][10] << 5) | table[texel & 31][10]);
            EXPECT_EQ(gmp->Bitmap().Pixel(3 + i, 2 + k), shaded);
        }
    }
    EXPECT_EQ(gmp->Bitmap().Pixel(2, 4), Back);
    EXPECT_EQ(gmp->Bitmap().Pixel(8, 4), Back);
    EXPECT_EQ(gmp->WorkTexture(), gmp->LayerTexture(7));
}

TEST(TexturedFrame, ACornerAtZeroDropsItsEdgesToo)
{
    auto gmp = SmallRenderer(rmShadedTexture);
    TRgbImage white(1, 1);
    white.SetPixel(0, 0, 255, 255, 255);
    gmp->SetLayerTexture(7, white);
    auto store = std::make_unique<TFaceStore>();
    TCorners corners = ScreenRect(-2, 2, -2, 2);
    corners[2] = {0, 0, 0};
    AddObject(*store, Red, {corners});
    // Only the right edge is left: a span one pixel wide in rows 2..6 (white at shade level 10).
    const uint16_t grey = static_cast<uint16_t>(gmp->ShadeTable()[31][10] * 0x421);
    EXPECT_EQ(Render(*gmp, *store, grey), Block(7, 7, 2, 6));
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
