#include "gui/shared/generate_view.h"

#include <QStringList>

#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/generation_runner.h"
#include "gui/shared/workspace.h"

namespace verdel {

const char* const GenerationBusyMessage =
    "A model is being generated. Wait until the viewer shows it, or stop it with Esc or Cancel, and try again.";

bool ModelWorkAllowed()
{
    if (!GenerationRunning()) return true;
    Dialogs().Message(GenerationBusyMessage);
    return false;
}

TGenerationResult GenerateAndView(const TLines& Lines, const QString* FileName, const void* Editor)
{
    if (!ModelWorkAllowed()) {
        TGenerationResult busy; // one generation at a time
        busy.Status = TGenerationStatus::Cancelled;
        return busy;
    }
    ShowWarning({}); // the last generation's warnings no longer hold
    TGenerated generated = RunGeneration(Lines, SolidSettings(AppState.Settings));
    if (generated.Result.Status != TGenerationStatus::Done) {
        ShowStatus({}); // nothing is being generated any more
        return generated.Result;
    }
    if (FileName) AppState.CurrentFileName = FileName->toStdString();
    TModel& model = generated.Model;
    model.FileName = AppState.CurrentFileName;
    QStringList warnings;
    for (const std::string& warning : model.Warnings) warnings << QString::fromStdString(warning);
    ShowWarning(warnings.join("; "));
    if (AppState.Workspace) AppState.Workspace->ShowEditorModel(std::move(model), Editor);
    return generated.Result;
}

} // namespace verdel
