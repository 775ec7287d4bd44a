#include "gui/generate_view.h"

#include "gui/app_state.h"
#include "gui/dialogs.h"
#include "gui/generation_runner.h"

namespace verdel {

namespace {

TViewerLauncher Launcher;

} // namespace

void SetViewerLauncher(TViewerLauncher NewLauncher) { Launcher = std::move(NewLauncher); }

void LaunchViewer(TViewSource Source)
{
    if (Launcher) {
        Launcher(Source);
        return;
    }
    // Without a viewer the store is released at once, as a closing viewer would.
    FreeScene(FaceStore);
}

bool GenerateAndView(const TLines& Lines, const QString* FileName)
{
    if (GenerationRunning()) return false;
    const TGenerationResult result =
        RunGeneration(Lines, SolidSettings(Settings), DefinitionState, FaceStore, RandomSource);
    if (result.Status != TGenerationStatus::Done) return false;
    RecordGeneration(result);
    if (FileName) CurrentFileName = FileName->toStdString();
    LaunchViewer();
    return true;
}

} // namespace verdel
