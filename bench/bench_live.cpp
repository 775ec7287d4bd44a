// The live path from a pause in typing to the new frame, as the studio runs
// it: the text generated without questions, turned and placed as the last
// model was, and one frame drawn by two threads at 800 x 800 (a docked
// viewer on a 1600 x 1000 screen), in wireframe and solid shading.
// Slider updates add rewriting the "#define" line to the same path.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/extended_definition.h"
#include "engine/generation.h"
#include "render/gmp.h"
#include "viewer/live_generation.h"
#include "viewer/view_orientation.h"
#include "viewer/view_preparation.h"

using namespace verdel;

namespace {

// A renderer as the viewer's frame worker has it.
TGMP& Renderer(TRenderMode Mode)
{
    static std::unique_ptr<TGMP> gmp = [] {
        auto renderer = std::make_unique<TGMP>();
        renderer->Resize(800, 800);
        renderer->SetThreadCount(2);
        UseViewerLight(*renderer);
        return renderer;
    }();
    gmp->RenderMode = Mode;
    return *gmp;
}

// One update: generate, keep the last pose, draw. Returns the objects drawn, -1 when the generation failed.
int Update(const TLines& Lines, const TModelPose& Pose, TRenderMode Mode)
{
    TLiveOutcome outcome;
    const TCancelToken never;
    GenerateLive(Lines, TSolidSettings{}, TRandomSource{}, never, outcome);
    if (outcome.Result.Status != TGenerationStatus::Done) return -1;
    TFaceStore& store = *outcome.Model.Store;
    ApplyRotation(store, Pose.Turn);
    PrepareView(store);
    store.TranslateX = Pose.X;
    store.TranslateY = Pose.Y;
    store.TranslateZ = Pose.Z;
    TGMP& gmp = Renderer(Mode);
    gmp.ClearToBackColor();
    gmp.RenderScene(store);
    benchmark::DoNotOptimize(gmp.Bitmap().Bits());
    return outcome.Model.ObjectCount;
}

// The pose of the first view of Lines, turned a little as a user would.
TModelPose FirstPose(const TLines& Lines)
{
    TLiveOutcome outcome;
    GenerateLive(Lines, TSolidSettings{}, TRandomSource{}, TCancelToken{}, outcome);
    PrepareView(*outcome.Model.Store);
    TModelPose pose;
    pose.Kept = true;
    pose.Turn.M = {{{0.8, 0, 0.6}, {0, 1, 0}, {-0.6, 0, 0.8}}};
    pose.X = outcome.Model.Store->TranslateX;
    pose.Y = outcome.Model.Store->TranslateY;
    pose.Z = outcome.Model.Store->TranslateZ;
    return pose;
}

void KeystrokeToFrame(benchmark::State& state, const char* File, TRenderMode Mode)
{
    const TLines lines = ReadLinesFromFile(std::string(VERDEL_DATA "/vdfiles/") + File);
    const TModelPose pose = FirstPose(lines);
    int objects = 0;
    for (auto _ : state)
        if ((objects = Update(lines, pose, Mode)) < 0) state.SkipWithError("the generation failed");
    state.counters["objects"] = objects;
}

void BM_KeystrokeToFrameTree(benchmark::State& state)
{
    KeystrokeToFrame(state, "tree.vd", TRenderMode(state.range(0)));
}
void BM_KeystrokeToFrameForest(benchmark::State& state)
{
    KeystrokeToFrame(state, "forest.vd", TRenderMode(state.range(0)));
}
BENCHMARK(BM_KeystrokeToFrameTree)
    ->ArgName("mode")
    ->Arg(rmWireframe)
    ->Arg(rmSolidShade)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_KeystrokeToFrameForest)
    ->ArgName("mode")
    ->Arg(rmWireframe)
    ->Arg(rmSolidShade)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Slider updates on tree.vd made extended, its angle a constant with a
// range: each update writes a new value into the "#define" line, then
// generates and draws.
TLines ExtendedTree()
{
    TLines lines;
    int values = 0;
    for (std::string line : ReadLinesFromFile(VERDEL_DATA "/vdfiles/tree.vd")) {
        if (line.empty() || line[0] == '#') {
            lines.push_back(line);
            continue;
        }
        ++values;
        if (values == 1) lines.insert(lines.end(), {"#extended", "#define angle 22.5 [0, 90]"});
        if (values == 2) line = "angle";
        const size_t equals = line.find('=');
        if (values > 4 && line[0] != '@' && equals != std::string::npos) line.replace(equals, 1, " --> ");
        lines.push_back(line);
    }
    return lines;
}

void BM_SliderUpdatesTree(benchmark::State& state)
{
    TLines lines = ExtendedTree();
    const TModelPose pose = FirstPose(lines);
    int step = 0;
    std::string error;
    for (auto _ : state) {
        step = (step + 1) % 90;
        if (!OverrideDefine(lines, "angle", std::to_string(step), error)) state.SkipWithError(error.c_str());
        if (Update(lines, pose, rmSolidShade) < 0) state.SkipWithError("the generation failed");
    }
    state.counters["updates_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SliderUpdatesTree)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
