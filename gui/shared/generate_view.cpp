#include "gui/shared/generate_view.h"

#include <QStringList>

#include "engine/production_warnings.h"
#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/generation_runner.h"

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

TGenerationResult GenerateAndView(const TLines& Lines, const QString* FileName)
{
    if (GenerationRunning()) {
        TGenerationResult busy; // one generation at a time
        busy.Status = TGenerationStatus::Cancelled;
        return busy;
    }
    ShowWarning({}); // the last generation's warnings no longer hold
    const TSolidSettings solids = SolidSettings(Settings);
    const TGenerationResult result = RunGeneration(Lines, solids, DefinitionState, FaceStore, RandomSource);
    if (result.Status != TGenerationStatus::Done) return result;
    RecordGeneration(result);
    if (FileName) CurrentFileName = FileName->toStdString();
    QStringList warnings;
    for (const std::string& warning : ProductionWarnings(DefinitionState.Production, solids))
        warnings << QString::fromStdString(warning);
    ShowWarning(warnings.join("; "));
    LaunchViewer();
    return result;
}

} // namespace verdel
