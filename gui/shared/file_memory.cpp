#include "gui/shared/file_memory.h"

#include <QDir>
#include <QFileInfo>

#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"

namespace verdel {

namespace {

void Store()
{
    try {
        SaveFileHistory(AppState.FileHistory, AppState.ProgramFolders.SettingsFolder);
    } catch (const std::exception& error) {
        ShowStatus(QString("The recent files could not be saved: ") + error.what());
    }
}

} // namespace

void LoadFileMemory() { AppState.FileHistory = LoadFileHistory(AppState.ProgramFolders.SettingsFolder); }

void NoteUsedFile(TFileKind Kind, const QString& Path, bool Recent)
{
    const std::string path = QFileInfo(Path).absoluteFilePath().toStdString();
    AppState.FileHistory.RememberFolder(Kind, path);
    if (Recent) AppState.FileHistory.AddRecentFile(path);
    Store();
}

void ForgetRecentFile(const QString& Path)
{
    AppState.FileHistory.RemoveRecentFile(Path.toStdString());
    Store();
}

QStringList RecentFiles()
{
    QStringList files;
    for (const std::string& file : AppState.FileHistory.RecentFiles) files << QString::fromStdString(file);
    return files;
}

QString DialogFolder(TFileKind Kind, const std::string& Default)
{
    const QString folder = QString::fromStdString(AppState.FileHistory.FolderFor(Kind, Default));
    // A remembered folder that is gone gives way to the default.
    return QDir(folder).exists() ? folder : QString::fromStdString(Default);
}

} // namespace verdel
