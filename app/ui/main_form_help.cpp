// The main frame's help commands.
#include "app/program_folders.h"
#include "app/ui/about_box.h"
#include "app/ui/help_window.h"
#include "app/ui/helper_form.h"
#include "app/ui/main_form.h"

namespace verdel {

void TMainForm::HelpFile1Click()
{
    if (!HelpWindow) HelpWindow = new THelpWindow(QString::fromStdString(ProgramFolders.HelpFolder), this);
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
}

} // namespace verdel
