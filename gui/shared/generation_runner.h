// The generation sequence on a worker thread, so the window keeps running and
// a long generation can be cancelled.
#pragma once

#include "engine/generation.h"
#include "engine/model.h"

namespace verdel {

// What a generation run from a window gives back: its outcome, and the model
// it made when the outcome is Done.
struct TGenerated {
    TGenerationResult Result;
    TModel Model;
};

// Generates Lines into a model of its own on a worker thread (TGenerationThread)
// and returns it; the windows keep painting and answering meanwhile. The
// shared random source's state goes with the generation and comes back with
// the state the generation left. Messages and the output-size question are
// asked through Dialogs() on the GUI thread, in the order the generation asks
// them. After half a second the workspace's status bar shows the progress
// with a Cancel button; Cancel or Esc stops the work (status Cancelled).
TGenerated RunGeneration(const TLines& Lines, const TSolidSettings& Solids);

// Asks the running generation, if any, to stop.
void CancelGeneration();

// Whether a generation is running.
bool GenerationRunning();

} // namespace verdel
