// The generation sequence run from a window, followed by the viewer.
#pragma once

#include <QString>

#include "engine/generation.h"
#include "engine/text_lines.h"

namespace verdel {

// What the windows say when asked for a model while a generation is running.
extern const char* const GenerationBusyMessage;

// Whether a new model may be made or read now: not while a generation runs,
// when the user is told so (GenerationBusyMessage) and should try again later.
bool ModelWorkAllowed();

// Validates, parses, rewrites and runs the turtle with the current drawing
// settings off the GUI thread (RunGeneration), reporting through Dialogs()
// (hourglass and "Generating Output from Production String" while the turtle
// runs). On success sets the application state's CurrentFileName to FileName
// unless it is null, names the model after it, shows the production's warnings
// (ShowWarning; cleared when there are none) and hands the model to the
// workspace's viewer; otherwise clears the status panel. The result's status
// is Done when the model went to the viewer.
// Editor, when given, is the editor whose text Lines are: the model becomes its model.
TGenerationResult GenerateAndView(const TLines& Lines, const QString* FileName, const void* Editor = nullptr);

} // namespace verdel
