// Regenerating a definition while it is edited: on a worker thread of its
// own, the newest text only, without a question or a message box.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "engine/cancel.h"
#include "engine/generation.h"
#include "engine/model.h"
#include "viewer/latest_job_thread.h"

namespace verdel {

// What one live generation gave: its ticket (the number Post returned), the
// outcome with the message the user would have been told, and the model
// when the outcome is Done.
struct TLiveOutcome {
    uint64_t Ticket = 0;
    TGenerationResult Result;
    std::string Message; // the result's message, or the one said otherwise (a production too long)
    TModel Model;
};

// Generates texts one after the other on a worker. A new text stops the
// generation under way (its cancel token) and replaces one still waiting, so
// only the newest text is finished. The output-size question is answered Yes:
// nothing is written to a file here.
class TLiveGenerator {
public:
    // Done receives each finished or failed generation, on the worker's thread;
    // a cancelled one is not reported.
    explicit TLiveGenerator(std::function<void(std::shared_ptr<TLiveOutcome>)> Done);
    // Stops the generation under way and waits for it.
    ~TLiveGenerator();
    TLiveGenerator(const TLiveGenerator&) = delete;
    TLiveGenerator& operator=(const TLiveGenerator&) = delete;

    // Generates Lines with Solids from a copy of Random; returns its ticket (1, 2, ...).
    // Without StopRunning the generation under way is finished first (a
    // slider's stream of values shows a model now and then instead of none).
    uint64_t Post(TLines Lines, const TSolidSettings& Solids, const TRandomSource& Random, bool StopRunning = true);
    // Stops the generation under way and drops a waiting one.
    void Cancel();
    // Blocks until nothing runs or waits (tests; the windows never wait).
    void WaitIdle() { Worker.WaitIdle(); }

private:
    std::function<void(std::shared_ptr<TLiveOutcome>)> Done;
    std::mutex Lock;
    std::shared_ptr<TCancelToken> Current; // guarded by Lock: the newest generation's token
    std::atomic<uint64_t> Tickets{0};
    TLatestJobThread Worker; // last: destroyed first, while the rest still exists
};

// One live generation on the calling thread, as the worker runs it.
void GenerateLive(const TLines& Lines, const TSolidSettings& Solids, TRandomSource Random, const TCancelToken& Cancel,
                  TLiveOutcome& Outcome);

} // namespace verdel
