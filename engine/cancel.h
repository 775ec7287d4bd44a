// Stopping a long generation from another thread or a signal handler, and hearing how far it got.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace verdel {

// The stage a progress report comes from.
enum class TWorkPhase { Rewriting, Interpreting };

// How far a stage has got: rewriting steps, or production characters interpreted.
struct TProgress {
    TWorkPhase Phase = TWorkPhase::Rewriting;
    int64_t Done = 0;
    int64_t Total = 0;
};

// Rewriting and the turtle poll the token between bounded pieces of work and
// stop with a "cancelled" outcome once Cancel has been called.
class TCancelToken {
public:
    // Asks the running work to stop; safe from any thread and from a signal handler.
    void Cancel() noexcept { Flag.store(true, std::memory_order_relaxed); }

    // Whether Cancel has been called since the token was made or reset.
    bool Cancelled() const noexcept { return Flag.load(std::memory_order_relaxed); }

    // Makes the token usable for the next run.
    void Reset() noexcept { Flag.store(false, std::memory_order_relaxed); }

    // Called on the working thread at the start of each stage and now and then
    // while it runs (not more often than every few thousand units of work).
    // Set it before the work starts.
    std::function<void(const TProgress&)> OnProgress;

    void Report(TWorkPhase Phase, int64_t Done, int64_t Total) const
    {
        if (OnProgress) OnProgress({Phase, Done, Total});
    }

private:
    std::atomic<bool> Flag{false};
    static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from signal handlers");
};

} // namespace verdel
