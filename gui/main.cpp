// Verdel: the desktop application.
#include <QApplication>

#include "app/program_folders.h"
#include "engine/text_helpers.h"
#include "gui/about_box.h"
#include "gui/app_state.h"
#include "gui/gen_ops_form.h"
#include "gui/generate_view.h"
#include "gui/helper_form.h"
#include "gui/main_form.h"
#include "gui/splash_form.h"
#include "gui/texture_dialog.h"
#include "gui/view_form.h"

using namespace verdel;

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Verdel");
    QApplication::setApplicationDisplayName("Verdel 5");
    const QString folder = QString::fromStdString(ExecutableFolder());

    auto* splash = new TSplashForm(folder);
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    // The main frame, then the long-lived windows in their order; all but the frame stay hidden.
    TMainForm mainForm(folder);
    mainForm.AboutBox = new TAboutBox(&mainForm);
    mainForm.HelperForm = new THelperForm(&mainForm);
    new TTextureDialog(&mainForm);
    new TViewForm(&mainForm);
    GenOpsForm = new TGenOpsForm(&mainForm);
    SetViewerLauncher([](TViewSource source) { ViewForm->ShowModal(source); });

    mainForm.show();
    mainForm.activateWindow();
    delete splash;
    return QApplication::exec();
}
