// Verdel: the desktop application.
#include <QApplication>
#include <QStringList>
#include <QTimer>

#include "app/program_folders.h"
#include "engine/text_helpers.h"
#include "gui/about_box.h"
#include "gui/command_reference.h"
#include "gui/main_form.h"
#include "gui/options_dialog.h"
#include "gui/splash_screen.h"
#include "gui/viewer/viewer_window.h"

using namespace verdel;

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Verdel");
    QApplication::setApplicationDisplayName("Verdel 5");
    QApplication::setDesktopFileName("verdel"); // the desktop entry, for the window's icon and grouping
    const QString folder = QString::fromStdString(ExecutableFolder());
    const TProgramFolders folders = LocateFolders(folder.toStdString(), UserFoldersFromEnvironment());

    auto* splash = new TSplashForm(QString::fromStdString(folders.DataFolder));
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    // The main frame, then the long-lived windows in their order; all but the frame stay hidden.
    TMainForm mainForm(folder);
    mainForm.AboutBox = new TAboutBox(&mainForm);
    mainForm.HelperForm = new THelperForm(&mainForm);
    mainForm.ViewForm = new TViewForm(&mainForm);
    mainForm.GenOpsForm = new TGenOpsForm(&mainForm);

    mainForm.show();
    mainForm.activateWindow();
    delete splash;
    // Files named on the command line (as the desktop passes them) open once the loop runs.
    const QStringList files = QApplication::arguments().mid(1);
    QTimer::singleShot(0, &mainForm, [&mainForm, files] {
        for (const QString& file : files) mainForm.OpenFile(file);
    });
    return QApplication::exec();
}
