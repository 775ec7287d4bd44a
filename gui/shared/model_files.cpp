#include "gui/shared/model_files.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStringList>
#include <QTimer>
#include <optional>
#include <thread>

#include "formats/model_reader.h"
#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/file_memory.h"
#include "gui/shared/generate_view.h"

namespace verdel {

namespace {

QString MeshPatterns()
{
    QStringList meshes;
    for (const std::string& pattern : ForeignModelPatterns()) meshes << QString::fromStdString(pattern);
    return meshes.join(' ');
}

// Reads FileName on a worker thread, as a mesh file's importer child may take
// seconds: the windows keep painting, and after half a second a progress box
// (application-modal, so nothing else starts meanwhile) offers Cancel, as Esc
// does. Nothing comes back when the read was cancelled or failed (Error set).
std::optional<TModel> ReadOffGuiThread(const QString& FileName, std::string& Error)
{
    TCancelToken cancel;
    std::optional<TModel> model;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            model = ReadModel(FileName.toStdString(), cancel);
        } catch (const std::exception& error) {
            Error = error.what();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QProgressDialog box("Reading " + QFileInfo(FileName).fileName() + "...", "Cancel", 0, 0, qApp->activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.setMinimumDuration(500);
    QTimer::singleShot(500, &box, &QProgressDialog::show);
    QObject::connect(&box, &QProgressDialog::canceled, [&cancel] { cancel.Cancel(); });
    loop.exec();
    worker.join();
    return model;
}

} // namespace

QString ModelFileFilters()
{
    const QString list = MeshPatterns();
    return "All model files (*.dxf " + list + ");;AutoCad DXF (*.dxf);;Mesh files (" + list + ");;All files (*)";
}

QString OpenFileFilters() { return "Definitions (*.vd);;All models (*.dxf " + MeshPatterns() + ");;All files (*)"; }

TModelRead LoadModelFile(const QString& FileName, TModel& Model)
{
    // The file is read into a model of its own: nothing a generation writes is touched.
    if (!ModelWorkAllowed()) return TModelRead::Cancelled;
    std::string error;
    std::optional<TModel> model = ReadOffGuiThread(FileName, error);
    if (!error.empty()) {
        Dialogs().Error(error);
        return TModelRead::Failed;
    }
    if (!model) return TModelRead::Cancelled;
    Model = std::move(*model);
    return TModelRead::Read;
}

TModelRead ChooseAndLoadModel(QWidget* Parent, TModel& Model)
{
    if (!ModelWorkAllowed()) return TModelRead::Cancelled;
    const QString folder = DialogFolder(TFileKind::Model, AppState.ProgramFolders.OutputFolder);
    if (!EnterFolder(folder)) return TModelRead::Cancelled;
    const QString name = Dialogs().OpenFileName(Parent, folder, ModelFileFilters());
    if (name.isEmpty()) return TModelRead::Cancelled;
    const TModelRead result = LoadModelFile(name, Model);
    if (result == TModelRead::Read) NoteUsedFile(TFileKind::Model, name, true);
    return result;
}

} // namespace verdel
