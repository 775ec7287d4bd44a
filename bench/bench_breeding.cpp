// The breeding gallery and growth playback: one generation of nine thumbnails
// (target at most 150 ms) and one growth frame, both while the user watches.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <thread>

#include "bench/bench_support.h"
#include "engine/growth.h"
#include "generators/breeding.h"
#include "viewer/thumbnail.h"
#include "viewer/view_orientation.h"
#include "viewer/view_preparation.h"

using namespace verdel;

namespace {

// The texts and seeds of one generation, parent first.
std::array<std::pair<TLines, uint32_t>, 9> Generation(const TBreedingGallery& gallery)
{
    std::array<std::pair<TLines, uint32_t>, 9> cells;
    cells[0] = {gallery.Current().Parent, gallery.Current().ParentSeed};
    for (int i = 0; i < BreedChildCount; ++i)
        cells[i + 1] = {gallery.Current().Children[i].Text, gallery.Current().Children[i].Seed};
    return cells;
}

// Breeding a generation of the bundled bush and drawing its nine 200 x 150
// thumbnails with Threads workers taking cells in turn (the gallery uses both cores).
void BM_GalleryGeneration(benchmark::State& state)
{
    const TLines bush = ReadLinesFromFile(VERDEL_DATA "/vdfiles/bush.vd");
    const int threads = static_cast<int>(state.range(0));
    std::vector<TThumbnailCell> cells(9);
    int picks = 0;
    TBreedingGallery gallery(bush, 4711, DefaultMutatorBars());
    for (auto _ : state) {
        gallery.Back();
        gallery.Pick(1 + picks++ % BreedChildCount);
        const auto generation = Generation(gallery);
        std::vector<std::jthread> workers;
        for (int t = 0; t < threads; ++t)
            workers.emplace_back([&, t] {
                for (int c = t; c < 9; c += threads)
                    benchmark::DoNotOptimize(cells[c].Render(generation[c].first, {}, generation[c].second));
            });
    }
}
BENCHMARK(BM_GalleryGeneration)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// One frame of growth playback of the bundled tree at a value inside its last
// step: regenerate, take over the shown model's turn and view, draw 800 x 600 solid.
void BM_GrowthFrame(benchmark::State& state)
{
    const TLines tree = ReadLinesFromFile(VERDEL_DATA "/vdfiles/tree.vd");
    bench::TYesPrompt prompt;
    auto shownState = std::make_unique<TDefinitionState>();
    auto shown = std::make_unique<TFaceStore>();
    auto fresh = std::make_unique<TFaceStore>();
    TRandomSource random;
    GenerateModel(tree, {}, prompt, *shownState, *shown, random);
    TOrientationProbe probe;
    probe.Sample(*shown);
    TGMP gmp;
    gmp.Resize(800, 600);
    gmp.RenderMode = rmSolidShade;
    PrepareView(gmp, *shown);
    gmp.RotateScene(*shown, true, false, false, 0.3f, 0, 0);
    int objects = 0;
    for (auto _ : state) {
        random.Seed = 0;
        objects = GenerateGrowth(tree, 6.5f, {}, prompt, *shownState, *fresh, random).ObjectCount;
        TOrientationProbe next;
        next.Sample(*fresh);
        ApplyRotation(*fresh, probe.Recover(*shown));
        ExchangeModels(*shown, *fresh);
        probe = next;
        gmp.ClearToBackColor();
        gmp.RenderScene(*shown);
    }
    state.counters["objects"] = objects;
}
BENCHMARK(BM_GrowthFrame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
