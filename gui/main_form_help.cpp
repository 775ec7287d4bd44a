// The main frame's help commands.
#include "app/program_folders.h"
#include "gui/about_box.h"
#include "gui/command_reference.h"
#include "gui/help_window.h"
#include "gui/main_form.h"
#include "gui/shared/app_state.h"

namespace verdel {

void TMainForm::HelpFile1Click()
{
    if (!HelpWindow) HelpWindow = new THelpWindow(QString::fromStdString(AppState.ProgramFolders.HelpFolder), this);
    HelpWindow->ShowContents();
}

void TMainForm::HelpAboutItemClick()
{
    if (AboutBox) AboutBox->exec();
}

void TMainForm::CommandReference1Click()
{
    if (!HelperForm) return;
    HelperForm->show();
    HelperForm->raise();
    HelperForm->activateWindow(); // Esc closes it at once
}

} // namespace verdel
