#include "render/worker_pool.h"

#include <algorithm>

namespace verdel {

TWorkerPool::TWorkerPool(int Threads)
{
    const int workers = std::clamp(Threads, 1, MaxThreads) - 1;
    Workers.reserve(static_cast<size_t>(workers));
    for (int t = 1; t <= workers; ++t) Workers.emplace_back([this, t] { Serve(t); });
}

TWorkerPool::~TWorkerPool()
{
    {
        std::lock_guard<std::mutex> guard(Lock);
        Quit = true;
    }
    Wake.notify_all();
    for (std::thread& worker : Workers) worker.join();
}

int TWorkerPool::MachineThreads()
{
    const unsigned hardware = std::thread::hardware_concurrency();
    return std::clamp(static_cast<int>(hardware), 1, MaxThreads);
}

void TWorkerPool::Dispatch(int NewCount, TFunction NewFunction, void* NewTask)
{
    NewCount = std::clamp(NewCount, 1, Size());
    if (NewCount > 1) {
        {
            std::lock_guard<std::mutex> guard(Lock);
            RunFunction = NewFunction;
            RunTask = NewTask;
            RunCount = NewCount;
            Pending = NewCount - 1;
            ++Round;
        }
        Wake.notify_all();
    }
    NewFunction(NewTask, 0);
    if (NewCount == 1) return;
    std::unique_lock<std::mutex> guard(Lock);
    Finished.wait(guard, [this] { return Pending == 0; });
}

void TWorkerPool::Serve(int Thread)
{
    uint64_t seen = 0;
    std::unique_lock<std::mutex> guard(Lock);
    for (;;) {
        Wake.wait(guard, [&] { return Quit || Round != seen; });
        if (Quit) return;
        seen = Round;
        if (Thread >= RunCount) continue;
        const TFunction function = RunFunction;
        void* const task = RunTask;
        guard.unlock();
        function(task, Thread);
        guard.lock();
        if (--Pending == 0) Finished.notify_one();
    }
}

} // namespace verdel
