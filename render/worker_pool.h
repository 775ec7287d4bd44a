// The renderer's threads: made once, handed one task per frame phase, waited for.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace verdel {

// A fixed set of threads that run the phases of a frame. Each Run hands the
// same task to the first Count threads, the calling thread being thread 0,
// and returns when every one has finished it. Running allocates nothing;
// the threads wait on a condition variable between runs and end with the pool.
class TWorkerPool {
public:
    // The most threads a pool has.
    static constexpr int MaxThreads = 16;

    // Threads - 1 waiting threads besides the caller (Threads clamped to 1..MaxThreads).
    explicit TWorkerPool(int Threads = 1);
    ~TWorkerPool();
    TWorkerPool(const TWorkerPool&) = delete;
    TWorkerPool& operator=(const TWorkerPool&) = delete;

    // Threads of the pool, the caller included.
    int Size() const { return static_cast<int>(Workers.size()) + 1; }

    // Calls Task(t) for t = 0..Count-1 (Count clamped to 1..Size()) on
    // different threads, t = 0 on the caller, and returns when all have
    // returned. Task must not throw. One Run at a time per pool.
    template <class TTask> void Run(int Count, TTask& Task) { Dispatch(Count, &Call<TTask>, &Task); }

    // The number of threads that suits this machine: its hardware threads, at most MaxThreads.
    static int MachineThreads();

private:
    using TFunction = void (*)(void* Task, int Thread);
    template <class TTask> static void Call(void* Task, int Thread) { (*static_cast<TTask*>(Task))(Thread); }
    void Dispatch(int Count, TFunction Function, void* Task);
    void Serve(int Thread);

    std::mutex Lock;
    std::condition_variable Wake;     // a new run, or the end
    std::condition_variable Finished; // the last worker of a run is done
    TFunction RunFunction = nullptr;
    void* RunTask = nullptr;
    int RunCount = 0;
    int Pending = 0;    // workers of the current run still busy
    uint64_t Round = 0; // runs started so far
    bool Quit = false;
    std::vector<std::thread> Workers;
};

} // namespace verdel
