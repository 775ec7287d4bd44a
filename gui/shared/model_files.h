// Model files read for the viewer: the open dialog and the reading, the same
// for every way of opening one.
#pragma once

#include <QString>

#include "engine/model.h"

class QWidget;

namespace verdel {

// What came of choosing or reading a model file.
enum class TModelRead { Cancelled, Failed, Read };

// The open dialog's filters for model files: every model file (DXF and the
// mesh formats read through Assimp) first, then DXF, the mesh formats, every file.
QString ModelFileFilters();

// File > Open's filters: definitions first, then every model file the viewer reads.
QString OpenFileFilters();

// Reads a DXF file or a mesh file read through Assimp into Model (ReadModel)
// off the GUI thread, with Cancel offered after half a second; a failure is
// reported with the file's name and the reason. Refused (Cancelled, with a
// message) while a generation runs.
TModelRead LoadModelFile(const QString& FileName, TModel& Model);

// Makes the output folder (or the folder of the last model file) current,
// lets the user choose a model file and reads it (LoadModelFile); a file read
// goes first in the recent files.
TModelRead ChooseAndLoadModel(QWidget* Parent, TModel& Model);

} // namespace verdel
