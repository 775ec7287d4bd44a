// Frames shared between threads: the same bytes as one thread draws, tall frames, given-up frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/generation.h"
#include "render/gmp.h"
#include "render/image_files.h"
#include "render/scene_builder.h"
#include "viewer/view_preparation.h"

using namespace verdel;
using namespace verdel::test;

namespace {

// Answers every question with Yes and keeps quiet.
class TYesPrompt : public TPrompt {
public:
    void Message(const std::string&) override {}
    TAnswer Confirm(const std::string&, bool) override { return TAnswer::Yes; }
};

// A bundled sample generated into its own store, placed as the viewer places
// it and stood upright as the golden frames show it.
std::unique_ptr<TFaceStore> Sample(const std::string& path)
{
    auto store = std::make_unique<TFaceStore>();
    auto state = std::make_unique<TDefinitionState>();
    TYesPrompt prompt;
    TRandomSource random;
    GenerateModel(ReadLinesFromFile(path), TSolidSettings{}, prompt, *state, *store, random);
    PrepareView(*store);
    TGMP().RotateScene(*store, true, false, false, -1.5707964f, 0, 0);
    return store;
}

// The bundled definitions in name order; the 30,000-tube forest only when Big.
std::vector<std::string> SamplePaths(bool Big)
{
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(VERDEL_DATA "/vdfiles"))
        if (entry.path().extension() == ".vd" && (Big || entry.path().stem() != "forest"))
            paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

// A renderer of ThreadCount threads with the bundled layer textures.
std::unique_ptr<TGMP> Renderer(int ThreadCount)
{
    static const auto images = LoadLayerImages(VERDEL_DATA "/textures");
    auto gmp = std::make_unique<TGMP>();
    gmp->SetThreadCount(ThreadCount);
    UseViewerLight(*gmp);
    gmp->SetBackColor(0x201000);
    for (int layer = 1; layer <= LayerCount; ++layer) gmp->SetLayerTexture(layer, images[layer - 1]);
    return gmp;
}

std::vector<uint8_t> Bytes(const TGMP& gmp)
{
    const uint8_t* bits = gmp.Bitmap().Bits();
    return {bits, bits + static_cast<size_t>(gmp.Bitmap().Stride()) * gmp.Height()};
}

// Draws Store at Width x Height in Mode into a cleared buffer; returns its bytes.
std::vector<uint8_t> Frame(TGMP& gmp, TFaceStore& store, TRenderMode mode, int width, int height)
{
    if (gmp.Width() != width || gmp.Height() != height) gmp.Resize(width, height);
    gmp.RenderMode = mode;
    gmp.ClearToBackColor();
    gmp.RenderScene(store);
    return Bytes(gmp);
}

// Where two frames of the same size first differ, as "row R column C" (rows from the top), or "".
std::string FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int stride)
{
    if (a.size() != b.size()) return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
    const auto at = std::mismatch(a.begin(), a.end(), b.begin());
    if (at.first == a.end()) return "";
    const auto offset = at.first - a.begin();
    return "row " + std::to_string(offset / stride) + " column " + std::to_string(offset % stride / 2);
}

constexpr TRenderMode Modes[] = {rmWireframe, rmSolidShade, rmShadedTexture};

struct TSize {
    int Width, Height;
};

// Draws every model in every mode and size with 1, 2 and 3 threads and
// expects the same bytes; the renderers keep their state (the work texture)
// from frame to frame, in the same sequence.
void ExpectSameFramesForEveryThreadCount(const std::vector<std::string>& paths, const std::vector<TSize>& sizes)
{
    std::unique_ptr<TGMP> renderers[] = {Renderer(1), Renderer(2), Renderer(3)};
    for (const std::string& path : paths) {
        auto store = Sample(path);
        for (const TSize size : sizes) {
            for (const TRenderMode mode : Modes) {
                SCOPED_TRACE(::testing::Message() << std::filesystem::path(path).filename() << " " << size.Width << "x"
                                                  << size.Height << " mode " << static_cast<int>(mode));
                const auto one = Frame(*renderers[0], *store, mode, size.Width, size.Height);
                for (int r = 1; r < 3; ++r) {
                    const auto more = Frame(*renderers[r], *store, mode, size.Width, size.Height);
                    EXPECT_EQ(FirstDifference(one, more, renderers[0]->Bitmap().Stride()), "")
                        << renderers[r]->ThreadCount() << " threads";
                    EXPECT_EQ(renderers[r]->WorkTexture(), renderers[0]->WorkTexture());
                }
            }
        }
    }
}

} // namespace

TEST(ThreadedFrames, EveryThreadCountDrawsTheSameBytesForEverySample)
{
    ExpectSameFramesForEveryThreadCount(SamplePaths(false), {{333, 217}, {1000, 1500}, {17, 9}, {640, 769}, {1, 1}});
}

TEST(ThreadedFrames, EveryThreadCountDrawsTheSameBytesForTheForest)
{
    ExpectSameFramesForEveryThreadCount({VERDEL_DATA "/vdfiles/forest.vd"}, {{801, 1203}});
}

namespace {

// Forty random four- and three-corner faces at depths about the plane,
// reaching 1200 rows above and below the centre, in layer and other colours.
std::unique_ptr<TFaceStore> TallScene()
{
    auto store = std::make_unique<TFaceStore>();
    std::mt19937 random(5);
    std::uniform_real_distribution<float> x(-140, 140), y(-1200, 1200), z(-560, -440);
    for (int k = 0; k < 40; ++k) {
        const float depth = z(random);
        TCorners corners;
        for (int c = 0; c < 3 + k % 2; ++c) corners.push_back({x(random), y(random), depth});
        AddObject(*store, k % 3 ? LayerColors[1 + k % LayerCount] : 0x3070B0, {corners});
    }
    return store;
}

// Rows 0..767 of a 300-column frame, from the bottom.
std::vector<std::vector<uint16_t>> Rows768(const TGMP& gmp, int shift)
{
    std::vector<std::vector<uint16_t>> rows(768, std::vector<uint16_t>(300));
    for (int r = 0; r < 768; ++r)
        for (int x = 0; x < 300; ++x) rows[r][x] = gmp.Bitmap().Pixel(x, r + shift);
    return rows;
}

} // namespace

TEST(ThreadedFrames, ATallFrameGoesOnWhereTheFrameOf768RowsStops)
{
    // With the centre row an even number of rows higher, every projected row
    // (rounded half to even) moves up by exactly that many rows, so the
    // 768-row frame is a window of the taller one; the faces reaching beyond
    // the window must be drawn above and below it.
    auto tall = TallScene();
    auto tree = Sample(VERDEL_DATA "/vdfiles/tree.vd");
    auto gmp = Renderer(2);
    const uint16_t back = gmp->Bitmap().Pixel(0, 0);
    for (TFaceStore* store : {tall.get(), tree.get()}) {
        for (const TRenderMode mode : Modes) {
            for (const int height : {1536, 4096}) {
                SCOPED_TRACE(::testing::Message() << (store == tree.get() ? "tree" : "faces") << " mode "
                                                  << static_cast<int>(mode) << " height " << height);
                Frame(*gmp, *store, mode, 300, 768);
                const auto window = Rows768(*gmp, 0);
                Frame(*gmp, *store, mode, 300, height);
                const int shift = height / 2 - 384;
                EXPECT_TRUE(Rows768(*gmp, shift) == window);
                if (store == tree.get()) continue;
                int inkBelow = 0, inkAbove = 0;
                for (int x = 0; x < 300; ++x) {
                    inkBelow += gmp->Bitmap().Pixel(x, shift - 100) != back;
                    inkAbove += gmp->Bitmap().Pixel(x, shift + 868) != back;
                }
                EXPECT_GT(inkBelow, 10);
                EXPECT_GT(inkAbove, 10);
            }
        }
    }
}

TEST(ThreadedFrames, ObjectsWithMoreFacesThanTheyCountAreDrawnTheSameByEveryThreadCount)
{
    // The face cache is shared out by the faces the objects count: an object
    // whose list is longer than its count overruns its run of records and is
    // drawn from its face nodes instead. Three hundred small objects, every
    // fifth claiming no faces, make many runs per thread, each with such objects.
    auto store = std::make_unique<TFaceStore>();
    std::mt19937 random(11);
    std::uniform_real_distribution<float> x(-150, 150), y(-100, 100), z(-560, -440), size(2, 12);
    for (int k = 0; k < 300; ++k) {
        const float cx = x(random), cy = y(random), depth = z(random), half = size(random);
        const int number = AddObject(*store, k % 4 ? LayerColors[1 + k % LayerCount] : 0x3070B0,
                                     {ScreenRect(cx - half, cx + half, cy - half, cy + half, depth),
                                      {{-cx, cy + half, depth}, {-cx - half, cy, depth - 5}, {-cx + half, cy, depth}},
                                      ScreenRect(cx, cx + half, cy, cy + 2 * half, depth - 2)});
        if (k % 5 == 0) store->Object(number).FaceCount = 0;
    }
    std::unique_ptr<TGMP> renderers[] = {Renderer(1), Renderer(2), Renderer(3)};
    for (const TRenderMode mode : Modes) {
        SCOPED_TRACE(::testing::Message() << "mode " << static_cast<int>(mode));
        const auto one = Frame(*renderers[0], *store, mode, 320, 240);
        for (int r = 1; r < 3; ++r)
            EXPECT_EQ(
                FirstDifference(one, Frame(*renderers[r], *store, mode, 320, 240), renderers[0]->Bitmap().Stride()), "")
                << renderers[r]->ThreadCount() << " threads";
    }
}

TEST(ThreadedFrames, AFaceAcrossEveryBandFillsEveryRowOfATallFrame)
{
    // A rectangle from 700 rows below the centre to 700 above, columns
    // centre - 3 .. centre + 3: in a 20 x 1500 frame, rows 50..1450 and columns 7..13.
    auto store = std::make_unique<TFaceStore>();
    AddObject(*store, 0x0000FF, {ScreenRect(-3, 3, -700, 700)});
    for (const int threads : {1, 2, 3, 16}) {
        SCOPED_TRACE(threads);
        auto gmp = Renderer(threads);
        Frame(*gmp, *store, rmSolidShade, 20, 1500);
        const uint16_t back = gmp->Bitmap().Pixel(0, 0);
        for (int r = 0; r < 1500; ++r) {
            const bool inside = r >= 50 && r <= 1450;
            ASSERT_EQ(gmp->Bitmap().Pixel(10, r) != back, inside) << "row " << r;
            ASSERT_EQ(gmp->Bitmap().Pixel(7, r) != back, inside) << "row " << r;
            ASSERT_EQ(gmp->Bitmap().Pixel(13, r) != back, inside) << "row " << r;
            ASSERT_EQ(gmp->Bitmap().Pixel(6, r), back) << "row " << r;
            ASSERT_EQ(gmp->Bitmap().Pixel(14, r), back) << "row " << r;
        }
    }
}

TEST(ThreadedFrames, AFrameGivenUpLeavesTheNextFrameAsIfNeverAskedFor)
{
    // A lime face switches the work texture to layer 3's; the plain face drawn
    // after it alone shows which texture the renderer kept.
    auto lime = std::make_unique<TFaceStore>();
    AddObject(*lime, LayerColors[3], {ScreenRect(-4, 4, -4, 4)});
    auto plain = std::make_unique<TFaceStore>();
    AddObject(*plain, 0x123456, {ScreenRect(-4, 4, -4, 4)});
    for (const int threads : {1, 2}) {
        SCOPED_TRACE(threads);
        auto fresh = Renderer(threads);
        const auto expected = Frame(*fresh, *plain, rmShadedTexture, 30, 20);
        auto gmp = Renderer(threads);
        Frame(*gmp, *plain, rmShadedTexture, 30, 20);
        TCancelToken cancel;
        cancel.Cancel();
        gmp->RenderMode = rmShadedTexture;
        EXPECT_FALSE(gmp->RenderScene(*lime, cancel));
        EXPECT_EQ(gmp->WorkTexture(), fresh->WorkTexture());
        EXPECT_EQ(Frame(*gmp, *plain, rmShadedTexture, 30, 20), expected);
        // Not given up, the lime frame does change the texture the plain face shows.
        cancel.Reset();
        EXPECT_TRUE(gmp->RenderScene(*lime, cancel));
        EXPECT_NE(Frame(*gmp, *plain, rmShadedTexture, 30, 20), expected);
    }
}

TEST(ThreadedFrames, RenderersOnDifferentThreadsDoNotDisturbEachOther)
{
    const std::vector<std::string> paths = {VERDEL_DATA "/vdfiles/bush.vd", VERDEL_DATA "/vdfiles/hilbert3d.vd"};
    std::vector<std::unique_ptr<TFaceStore>> stores;
    std::vector<std::vector<std::vector<uint8_t>>> alone(2), together(2);
    for (const auto& path : paths) stores.push_back(Sample(path));
    // Each renderer draws its model in the three modes three times over.
    const auto drawAll = [&](int which, std::vector<std::vector<uint8_t>>& frames) {
        auto gmp = Renderer(2);
        for (int round = 0; round < 3; ++round)
            for (const TRenderMode mode : Modes) frames.push_back(Frame(*gmp, *stores[which], mode, 211, 157));
    };
    drawAll(0, alone[0]);
    drawAll(1, alone[1]);
    std::thread other([&] { drawAll(1, together[1]); });
    drawAll(0, together[0]);
    other.join();
    EXPECT_TRUE(alone[0] == together[0]);
    EXPECT_TRUE(alone[1] == together[1]);
}

TEST(ThreadedFrames, ThreadCountsStayWithinThePool)
{
    TGMP gmp;
    EXPECT_EQ(gmp.ThreadCount(), TWorkerPool::MachineThreads());
    gmp.SetThreadCount(0);
    EXPECT_EQ(gmp.ThreadCount(), 1);
    gmp.SetThreadCount(1000);
    EXPECT_EQ(gmp.ThreadCount(), TWorkerPool::MaxThreads);
}
