#include "viewer/latest_job_thread.h"

namespace verdel {

TLatestJobThread::TLatestJobThread() : Thread([this] { Run(); }) {}

TLatestJobThread::~TLatestJobThread()
{
    {
        std::lock_guard<std::mutex> guard(Lock);
        Stopping = true;
        Waiting.reset();
    }
    Changed.notify_all();
    Thread.join();
}

void TLatestJobThread::Post(std::function<void()> Job)
{
    {
        std::lock_guard<std::mutex> guard(Lock);
        Waiting = std::move(Job);
    }
    Changed.notify_all();
}

void TLatestJobThread::Drop()
{
    std::lock_guard<std::mutex> guard(Lock);
    Waiting.reset();
}

void TLatestJobThread::WaitIdle()
{
    std::unique_lock<std::mutex> guard(Lock);
    Changed.wait(guard, [this] { return !Running && !Waiting; });
}

void TLatestJobThread::Run()
{
    std::unique_lock<std::mutex> guard(Lock);
    while (true) {
        Changed.wait(guard, [this] { return Stopping || Waiting.has_value(); });
        if (Stopping) return;
        std::function<void()> job = std::move(*Waiting);
        Waiting.reset();
        Running = true;
        guard.unlock();
        job();
        guard.lock();
        Running = false;
        Changed.notify_all();
    }
}

} // namespace verdel
