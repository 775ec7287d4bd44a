// Frames shared between threads: given-up frames, renderers side by side, the pool's size.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "render/gmp.h"
#include "render/image_files.h"
#include "render/scene_builder.h"
#include "support/models.h"

using namespace verdel;
using namespace verdel::test;

namespace {

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

constexpr TRenderMode Modes[] = {rmWireframe, rmSolidShade, rmShadedTexture};

} // namespace

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
    for (const auto& path : paths) stores.push_back(UprightSample(path));
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
