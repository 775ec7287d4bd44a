#include "viewer/frame_worker.h"

#include <chrono>

namespace verdel {

void ApplyFrameSettings(const TFrameSettings& Settings, TGMP& Gmp)
{
    if (Gmp.Width() != Settings.Width || Gmp.Height() != Settings.Height) Gmp.Resize(Settings.Width, Settings.Height);
    if (Gmp.BackColor() != Settings.BackColor) Gmp.SetBackColor(Settings.BackColor);
    Gmp.RenderMode = Settings.Mode;
}

TFrameWorker::TFrameWorker(TFinished finished) : Finished(std::move(finished)), Thread([this] { Run(); }) {}

TFrameWorker::~TFrameWorker()
{
    {
        std::unique_lock<std::mutex> guard(Lock);
        Changed.wait(guard, [this] { return !Drawing && !Calling; });
        Quit = true;
    }
    Changed.notify_all();
    Thread.join();
}

void TFrameWorker::Start(TFaceStore& Scene)
{
    {
        std::lock_guard<std::mutex> guard(Lock);
        Pending = &Scene;
        Drawing = true;
    }
    Changed.notify_all();
}

bool TFrameWorker::Busy() const
{
    std::lock_guard<std::mutex> guard(Lock);
    return Drawing;
}

void TFrameWorker::WaitIdle()
{
    std::unique_lock<std::mutex> guard(Lock);
    Changed.wait(guard, [this] { return !Drawing; });
}

double TFrameWorker::LastFrameMs() const
{
    std::lock_guard<std::mutex> guard(Lock);
    return FrameMs;
}

void TFrameWorker::Run()
{
    for (;;) {
        TFaceStore* scene = nullptr;
        {
            std::unique_lock<std::mutex> guard(Lock);
            Changed.wait(guard, [this] { return Quit || Pending; });
            if (Quit) return;
            scene = Pending;
            Pending = nullptr;
        }
        const auto begin = std::chrono::steady_clock::now();
        Gmp->ClearToBackColor();
        Gmp->RenderScene(*scene);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - begin;
        {
            std::lock_guard<std::mutex> guard(Lock);
            FrameMs = took.count();
            Drawing = false;
            Calling = true;
        }
        Changed.notify_all();
        if (Finished) Finished();
        {
            std::lock_guard<std::mutex> guard(Lock);
            Calling = false;
        }
        Changed.notify_all();
    }
}

} // namespace verdel
