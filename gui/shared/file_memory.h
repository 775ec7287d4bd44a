// The recent files and remembered folders of the running program, kept in the
// settings file as they change.
#pragma once

#include <QString>
#include <QStringList>

#include "app/file_history.h"

namespace verdel {

// Reads the history from the settings folder (at start-up, after the settings).
void LoadFileMemory();

// Records that Path was opened or saved: its folder is remembered for Kind and,
// when Recent, it goes first in the recent files. Written to the settings file
// at once; a failure shows in the status bar.
void NoteUsedFile(TFileKind Kind, const QString& Path, bool Recent = false);

// Takes Path out of the recent files (it could not be opened).
void ForgetRecentFile(const QString& Path);

// The recent files, newest first.
QStringList RecentFiles();

// The folder a file dialog for Kind opens in: the one used last, or Default.
QString DialogFolder(TFileKind Kind, const std::string& Default);

} // namespace verdel
