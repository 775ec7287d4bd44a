#include "gui/shared/model_files.h"

#include <QStringList>

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

} // namespace

QString ModelFileFilters()
{
    const QString list = MeshPatterns();
    return "AutoCad DXF (*.dxf);;Mesh files (" + list + ");;All models (*.dxf " + list + ");;All files (*)";
}

QString OpenFileFilters() { return "Definitions (*.vd);;All models (*.dxf " + MeshPatterns() + ");;All files (*)"; }

TModelRead LoadModelFile(const QString& FileName, TModel& Model)
{
    // The file is read into a model of its own: nothing a generation writes is touched.
    if (!ModelWorkAllowed()) return TModelRead::Cancelled;
    try {
        Model = ReadModel(FileName.toStdString());
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
        return TModelRead::Failed;
    }
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
