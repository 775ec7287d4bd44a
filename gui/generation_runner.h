// The generation sequence on a worker thread, so the window keeps running and
// a long generation can be cancelled.
#pragma once

#include <QString>
#include <functional>

#include "engine/generation.h"

namespace verdel {

// Runs GenerateModel on a worker thread and returns its result; the windows
// keep painting and answering meanwhile. Messages and the output-size question
// are asked through Dialogs() on the GUI thread, in the order the generation
// asks them. After half a second the workspace's status bar shows the progress
// with a Cancel button; Cancel or Esc stops the work (status Cancelled).
TGenerationResult RunGeneration(const TLines& Lines, const TSolidSettings& Solids, TDefinitionState& State,
                                TFaceStore& Store, TRandomSource& Random);

// Runs Work (which must not throw) on a worker thread as RunGeneration runs
// a generation, Text on the progress line; Cancel or Esc cancel the token
// Work is given. Returns false, without running it, while other work runs.
bool RunCancellable(const std::function<void(const TCancelToken&)>& Work, const QString& Text);

// Asks the running generation (or other work), if any, to stop.
void CancelGeneration();

// Whether a generation (or other work) is running.
bool GenerationRunning();

} // namespace verdel
