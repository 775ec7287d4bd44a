// The main frame's examples gallery, and the first start that opens it as the welcome page.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <filesystem>
#include <string>
#include <vector>

#include "app/program_folders.h"
#include "app/settings.h"
#include "gui/examples/examples_form.h"
#include "gui/main_form.h"
#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"

namespace verdel {

namespace {

// Keeps the messages of reading the settings; questions go to the dialogs.
class TNotingPrompt : public TPrompt {
public:
    void Message(const std::string& Text) override { Notes.push_back(Text); }
    TAnswer Confirm(const std::string& Text, bool WithCancel) override { return Dialogs().Confirm(Text, WithCancel); }

    std::vector<std::string> Notes;
};

} // namespace

void TMainForm::LoadStartSettings()
{
    const TProgramFolders& folders = AppState.ProgramFolders;
    FirstStart = !std::filesystem::exists(SettingsPath(folders.SettingsFolder));
    TNotingPrompt prompt;
    LoadSettings(AppState.Settings, folders.SettingsFolder, prompt, folders.InitialSettings);
    // At a first start the messages go to the welcome page rather than over the splash.
    for (const std::string& note : prompt.Notes) {
        if (!FirstStart) Dialogs().Message(note);
        else FirstStartNotes += (FirstStartNotes.isEmpty() ? "" : "\r\n\r\n") + QString::fromStdString(note);
    }
}

void TMainForm::ShowWelcome()
{
    const std::string settings = SettingsPath(AppState.ProgramFolders.SettingsFolder);
    QMdiSubWindow* opened = MdiArea->activeSubWindow();
    ShowExamples()->ShowWelcome(FirstStartNotes, QString::fromStdString(settings));
    // A definition opened from the command line stays in front of the page, and its model in the viewer.
    if (opened != nullptr) MdiArea->setActiveSubWindow(opened);
}

TExamplesForm* TMainForm::ShowExamples()
{
    for (QMdiSubWindow* window : MdiArea->subWindowList())
        if (auto* form = qobject_cast<TExamplesForm*>(window->widget())) {
            MdiArea->setActiveSubWindow(window);
            return form;
        }
    TThumbnailLook look;
    look.Solids = SolidSettings(AppState.Settings);
    look.Upright = AppState.Settings.OpenModelsUpright;
    auto* form = new TExamplesForm(AppState.ProgramFolders.DefinitionFolder, look);
    connect(form, &TExamplesForm::ExampleChosen, this, &TMainForm::OpenExample);
    QMdiSubWindow* window = AddChild(form);
    // The gallery fills the workspace as a page; the editors it opens come in front of it.
    window->setGeometry(MdiArea->viewport()->rect());
    MdiArea->setActiveSubWindow(window);
    return form;
}

void TMainForm::FileExamplesItemClick() { ShowExamples(); }

} // namespace verdel
