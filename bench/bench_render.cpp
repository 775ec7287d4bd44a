// Frames of the bundled 29,523-tube forest at 1024 x 768, placed as the viewer places it, drawn by one and two
// threads; the frame drawn four times larger and averaged down; a frame written as PNG.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <sstream>

#include "bench/bench_support.h"
#include "engine/generation.h"
#include "render/gmp.h"
#include "render/image_files.h"
#include "render/supersampling.h"
#include "viewer/view_preparation.h"

using namespace verdel;

// Every allocation of the program is counted, so a frame can show it makes none.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<long> Allocations{0};
}

void* operator new(std::size_t size)
{
    Allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// The forest, made once.
TFaceStore& Forest()
{
    static const std::unique_ptr<TFaceStore> store = [] {
        auto forest = std::make_unique<TFaceStore>();
        bench::GenerateForest(*forest);
        PrepareView(*forest);
        return forest;
    }();
    return *store;
}

// A renderer looking at the forest, made once.
TGMP& Scene()
{
    static std::unique_ptr<TGMP> gmp = [] {
        auto renderer = std::make_unique<TGMP>();
        renderer->Resize(1024, 768);
        UseViewerLight(*renderer);
        const auto images = LoadLayerImages(VERDEL_DATA "/textures");
        for (int layer = 1; layer <= LayerCount; ++layer) renderer->SetLayerTexture(layer, images[layer - 1]);
        return renderer;
    }();
    return *gmp;
}

// One frame after another in Mode, shared between state.range(0) threads.
void RenderFrames(benchmark::State& state, TRenderMode mode)
{
    TGMP& gmp = Scene();
    TFaceStore& forest = Forest();
    gmp.RenderMode = mode;
    gmp.SetThreadCount(static_cast<int>(state.range(0)));
    // One frame outside the timing warms the caches and counts the allocations.
    const long before = Allocations.load();
    gmp.ClearToBackColor();
    gmp.RenderScene(forest);
    state.counters["allocations_per_frame"] = static_cast<double>(Allocations.load() - before);
    for (auto _ : state) {
        gmp.ClearToBackColor();
        gmp.RenderScene(forest);
        benchmark::DoNotOptimize(gmp.Bitmap().Bits());
    }
    state.counters["objects"] = forest.ObjectCount;
}

void BM_FrameWireframe(benchmark::State& state) { RenderFrames(state, rmWireframe); }
void BM_FrameSolid(benchmark::State& state) { RenderFrames(state, rmSolidShade); }
void BM_FrameTextured(benchmark::State& state) { RenderFrames(state, rmShadedTexture); }
BENCHMARK(BM_FrameWireframe)->ArgName("threads")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FrameSolid)->ArgName("threads")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FrameTextured)->ArgName("threads")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The solid frame drawn at 4096 x 3072 and averaged down to 1024 x 768, by two threads.
void BM_FrameSolidAntialias4(benchmark::State& state)
{
    TGMP& gmp = Scene();
    gmp.RenderMode = rmSolidShade;
    gmp.SetThreadCount(2);
    for (auto _ : state) benchmark::DoNotOptimize(RenderSupersampled(gmp, Forest(), 1024, 768, 4).Pixels.data());
    gmp.Resize(1024, 768);
}
BENCHMARK(BM_FrameSolidAntialias4)->Unit(benchmark::kMillisecond)->UseRealTime();

// The solid frame written as a PNG into memory.
void BM_WritePngFrame(benchmark::State& state)
{
    TGMP& gmp = Scene();
    gmp.RenderMode = rmSolidShade;
    gmp.ClearToBackColor();
    gmp.RenderScene(Forest());
    const TRgbImage image = FrameToImage(gmp.Bitmap());
    TPictureNotes notes;
    notes.Definition = "forest.vd's definition would stand here\n";
    notes.Seed = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        WritePNG(out, image, notes, "forest.png");
        bytes = out.str().size();
    }
    state.counters["KB"] = static_cast<double>(bytes) / 1e3;
}
BENCHMARK(BM_WritePngFrame)->Unit(benchmark::kMillisecond);

// Decoding Text01.jpg to Text12.jpg.
void BM_DecodeTwelveTextures(benchmark::State& state)
{
    for (auto _ : state) {
        const auto images = LoadLayerImages(VERDEL_DATA "/textures");
        benchmark::DoNotOptimize(images[11].Pixels.data());
    }
}
BENCHMARK(BM_DecodeTwelveTextures)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
