// A generation on a thread of its own, so that a window's thread goes on
// answering while a long definition is rewritten and drawn.
#pragma once

#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "engine/cancel.h"
#include "engine/generation.h"
#include "engine/model.h"

namespace verdel {

// Generates one definition into a model of its own on a worker thread. The
// worker touches nothing but the thread's own records (the lines, a copy of
// the random source, the model, its definition state) and Prompt, which it
// calls on its thread; the caller's thread may read the progress and cancel
// at any time, and takes the model once Wait has returned.
class TGenerationThread {
public:
    // Starts the generation of Lines with Solids and a random source at Random's
    // state; Finished is called on the worker's thread when it is done.
    TGenerationThread(TLines Lines, const TSolidSettings& Solids, const TRandomSource& Random, TPrompt& Prompt,
                      std::function<void()> Finished);
    // Cancels and waits for the worker.
    ~TGenerationThread();
    TGenerationThread(const TGenerationThread&) = delete;
    TGenerationThread& operator=(const TGenerationThread&) = delete;

    // Asks the worker to stop; safe from any thread.
    void Cancel() { Token.Cancel(); }
    // The progress the worker reported last.
    TProgress Progress() const;
    // Waits until the worker is done.
    void Wait();

    // After Wait: the outcome, the model (filled when the outcome is Done) and
    // the random source as the generation left it.
    const TGenerationResult& Result() const { return Outcome; }
    TModel& Model() { return Made; }
    const TRandomSource& Random() const { return Source; }
    // After Wait: what the generation threw (out of memory, an unexpected
    // fault), or null; the model is then empty.
    std::exception_ptr Fault() const { return Thrown; }

private:
    TLines Lines;
    TSolidSettings Solids;
    TRandomSource Source;
    TPrompt& Prompt;
    std::function<void()> Finished;
    TCancelToken Token;
    mutable std::mutex Lock;
    TProgress Last; // guarded by Lock
    TGenerationResult Outcome;
    TModel Made;
    std::exception_ptr Thrown;
    std::thread Worker; // started last, after every member it uses
};

} // namespace verdel
