// Verdel: the desktop application.
#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <exception>
#include <iostream>
#include <new>
#include <string>

#include "app/program_folders.h"
#include "engine/atomic_file.h"
#include "engine/text_helpers.h"
#include "gui/about_box.h"
#include "gui/command_reference.h"
#include "gui/main_form.h"
#include "gui/shared/dialogs.h"
#include "gui/options_dialog.h"
#include "gui/splash_screen.h"
#include "gui/viewer/viewer_window.h"

using namespace verdel;

namespace {

// Exit statuses of a start that fails, as the batch tool has them.
constexpr int ExitOutOfMemory = 7;
constexpr int ExitFailure = 8;

// Says what went wrong on standard error, and in a box where one can still be shown.
void ReportFault(const std::exception_ptr& Fault)
{
    try {
        const std::string text = FaultText(Fault);
        std::cerr << text << '\n';
        Dialogs().Error(text);
    } catch (...) {
        std::cerr << "Out of memory\n"; // not even enough for the message
    }
}

// An exception that leaves a handler abandons that handler's work, with a
// message, instead of ending the program.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* Receiver, QEvent* Event) override
    {
        try {
            return QApplication::notify(Receiver, Event);
        } catch (...) {
            ReportFault(std::current_exception());
        }
        return false;
    }
};

// The program from its start to the end of its event loop.
int Run(int& argc, char** argv)
{
    TApplication application(argc, argv);
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
    mainForm.DockViewer(new TViewForm);
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

} // namespace

int main(int argc, char** argv)
{
    verdel::RemoveTemporaryFilesOnTermination();
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cerr << FaultText(std::current_exception()) << '\n';
        return ExitOutOfMemory;
    } catch (...) {
        std::cerr << FaultText(std::current_exception()) << '\n';
        return ExitFailure;
    }
}
