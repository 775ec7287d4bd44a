// A worker thread that runs only the newest job handed to it.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace verdel {

// One thread of its own. Post replaces a job that has not started yet, so a
// window that asks faster than the work goes skips the stale requests
// instead of queueing them. Jobs hand their results back to the GUI thread
// themselves (a queued call to a receiver).
class TLatestJobThread {
public:
    TLatestJobThread();
    // Drops the waiting job and waits for the running one.
    ~TLatestJobThread();
    TLatestJobThread(const TLatestJobThread&) = delete;
    TLatestJobThread& operator=(const TLatestJobThread&) = delete;

    // Runs Job after the running one, in place of any job still waiting.
    void Post(std::function<void()> Job);
    // Drops the waiting job, if any.
    void Drop();
    // Blocks until no job runs and none waits.
    void WaitIdle();

private:
    void Run();

    std::mutex Lock;
    std::condition_variable Changed;
    std::optional<std::function<void()>> Waiting;
    bool Running = false;
    bool Stopping = false;
    std::thread Thread;
};

} // namespace verdel
