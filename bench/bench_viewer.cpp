// The viewer: one navigation step on the proxy, one live step on the whole
// model, and the first picture after a generation.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>

#include "bench/bench_support.h"
#include "engine/generation.h"
#include "gui/shared/app_state.h"
#include "gui/viewer/picture_widget.h"
#include "gui/viewer/viewer_window.h"
#include "render/gmp.h"
#include "viewer/navigation.h"
#include "viewer/view_preparation.h"

using namespace verdel;

namespace {

// Draws what the navigator asks into a 1024 x 768 renderer, as the viewer does.
class TRenderingHost : public TNavigationHost {
public:
    TRenderingHost() { Gmp.Resize(1024, 768); }
    void DrawStore(TFaceStore& Store, bool) override
    {
        Gmp.ClearToBackColor();
        Gmp.RenderScene(Store);
    }
    void SetWireframe(bool On) override { Gmp.RenderMode = On ? rmWireframe : rmSolidShade; }
    void RotateScene(TFaceStore& Store, bool FX, bool FY, bool FZ, float AX, float AY, float AZ) override
    {
        Gmp.RotateScene(Store, FX, FY, FZ, AX, AY, AZ);
    }
    void SetRepeatTimer(bool) override {}
    void SetSettleTimer(bool, int) override {}
    TGMP Gmp;
};

// The forest in view, with a navigator over it that draws on a renderer of its own.
struct TNavigationBench {
    std::unique_ptr<TFaceStore> Forest = std::make_unique<TFaceStore>();
    std::unique_ptr<TFaceStore> Outline = std::make_unique<TFaceStore>();
    std::unique_ptr<TRenderingHost> Host = std::make_unique<TRenderingHost>();
    TNavigator Navigator{*Forest, *Outline, *Host};
    TNavigationBench()
    {
        bench::GenerateForest(*Forest);
        Navigator.Setup(PrepareView(*Forest).ModelSize);
    }
};

// One held-button step: the proxy box turned and drawn in wireframe.
void BM_NavigationStep(benchmark::State& state)
{
    TNavigationBench bench;
    TNavigator& navigator = bench.Navigator;
    for (auto _ : state) navigator.Step(dirTurnLeft);
}
BENCHMARK(BM_NavigationStep)->Unit(benchmark::kMillisecond);

// One held-button step with live frames: the forest turned by 2.5 degrees
// and drawn solid at 1024 x 768, as a step draws it when frames are fast.
void BM_LiveNavigationStep(benchmark::State& state)
{
    TNavigationBench bench;
    TNavigator& navigator = bench.Navigator;
    navigator.LiveNavigation = true;
    for (auto _ : state) {
        navigator.Step(dirTurnLeft);
        navigator.ModelFrameDone(0); // keep every step live, whatever the last one took
    }
    state.counters["live"] = navigator.LiveNow();
}
BENCHMARK(BM_LiveNavigationStep)->Unit(benchmark::kMillisecond);

// From showing the viewer on the generated forest to its first full picture
// (the 200 ms pause after the first paint included).
void BM_FirstPicture(benchmark::State& state)
{
    TViewForm view;
    view.resize(1024 + 190, 768 + 60);
    for (auto _ : state) {
        state.PauseTiming();
        TModel forest;
        bench::GenerateForest(*forest.Store);
        forest.ObjectCount = forest.Store->ObjectCount;
        view.StatusPanels[0]->clear();
        state.ResumeTiming();
        view.TakeModel(std::move(forest)); // the model a window hands to the viewer
        view.show();
        while (view.StatusPanels[0]->text() != "Rendering Complete")
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        state.PauseTiming();
        view.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstPicture)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
