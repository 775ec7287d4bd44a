#include "engine/generation_thread.h"

namespace verdel {

TGenerationThread::TGenerationThread(TLines lines, const TSolidSettings& solids, const TRandomSource& random,
                                     TPrompt& prompt, std::function<void()> finished)
        : Lines(std::move(lines)), Solids(solids), Source(random), Prompt(prompt), Finished(std::move(finished))
{
    Token.OnProgress = [this](const TProgress& progress) {
        std::lock_guard guard(Lock);
        Last = progress;
    };
    Worker = std::thread([this] {
        try {
            Outcome = GenerateModel(Lines, Solids, Prompt, Source, Token, Made);
        } catch (...) {
            // The half-built model goes; the caller reports the fault.
            Thrown = std::current_exception();
            Made = TModel{};
        }
        if (Finished) Finished();
    });
}

TGenerationThread::~TGenerationThread()
{
    Cancel();
    Wait();
}

TProgress TGenerationThread::Progress() const
{
    std::lock_guard guard(Lock);
    return Last;
}

void TGenerationThread::Wait()
{
    if (Worker.joinable()) Worker.join();
}

} // namespace verdel
