// The generation sequence run from a window, followed by the viewer.
#pragma once

#include <QString>
#include <functional>

#include "engine/generation.h"
#include "engine/text_lines.h"

namespace verdel {

// Where the model in FaceStore came from: a generation, or a DXF file (whose
// view shows its own object count and no production length).
enum class TViewSource { Generation, DxfFile };

// Shows the model in FaceStore (the viewer window, modally); the viewer frees
// the store when it closes.
using TViewerLauncher = std::function<void(TViewSource)>;

// Installs the launcher that GenerateAndView calls (the viewer at start-up, a recorder in tests).
void SetViewerLauncher(TViewerLauncher Launcher);

// Opens the viewer on FaceStore through the installed launcher.
void LaunchViewer(TViewSource Source = TViewSource::Generation);

// Validates, parses, rewrites and runs the turtle with the current drawing
// settings, reporting through Dialogs() (hourglass and "Generating Output
// from Production String" while the turtle runs). On success sets
// CurrentFileName to FileName unless it is null, shows the production's
// warnings (ShowWarning; cleared when there are none) and opens the viewer.
// The result's status is Done when the viewer was opened.
TGenerationResult GenerateAndView(const TLines& Lines, const QString* FileName);

} // namespace verdel
