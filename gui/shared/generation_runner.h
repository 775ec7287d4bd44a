// The generation sequence on a worker thread, so the window keeps running and
// a long generation can be cancelled.
#pragma once

#include "engine/generation.h"

namespace verdel {

// Runs GenerateModel on a worker thread and returns its result; the windows
// keep painting and answering meanwhile. Messages and the output-size question
// are asked through Dialogs() on the GUI thread, in the order the generation
// asks them. After half a second the workspace's status bar shows the progress
// with a Cancel button; Cancel or Esc stops the work (status Cancelled).
TGenerationResult RunGeneration(const TLines& Lines, const TSolidSettings& Solids, TDefinitionState& State,
                                TFaceStore& Store, TRandomSource& Random);

// Asks the running generation, if any, to stop.
void CancelGeneration();

// Whether a generation is running.
bool GenerationRunning();

} // namespace verdel
