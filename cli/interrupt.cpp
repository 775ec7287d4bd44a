#include "cli/interrupt.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <unistd.h>

#include "cli/cli_common.h"
#include "engine/atomic_file.h"

namespace verdel::cli {

namespace {

// Shared with the signal handler, which may only touch lock-free atomics.
TCancelToken Token;
std::atomic<bool> Interruptible{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int)
{
    if (Interruptible.load() && !Token.Cancelled()) {
        Token.Cancel();
        return;
    }
    // Files being written keep their old content: the temporaries go, nothing is renamed.
    RemoveTemporaryFiles();
    constexpr char message[] = "Interrupted\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
    _exit(ExitInterrupted);
}

} // namespace

void InstallInterruptHandler()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    RemoveTemporaryFilesOnTermination();
    // A file-size limit then fails the write (EFBIG), reported like a full disk, instead of killing the tool.
    signal(SIGXFSZ, SIG_IGN);
}

TCancelToken& InterruptToken() { return Token; }

TInterruptible::TInterruptible() { Interruptible.store(true); }

TInterruptible::~TInterruptible() { Interruptible.store(false); }

void EnableProgressLines()
{
    Token.OnProgress =
        [last = std::pair<TWorkPhase, int64_t>{TWorkPhase::Rewriting, -1}](const TProgress& progress) mutable {
            const int64_t percent = progress.Total > 0 ? progress.Done * 100 / progress.Total : 100;
            if (std::pair(progress.Phase, percent) == last) return;
            last = {progress.Phase, percent};
            const char* stage = progress.Phase == TWorkPhase::Rewriting ? "rewriting" : "interpreting";
            std::cerr << "progress: " << stage << ' ' << percent << "%" << std::endl;
        };
}

} // namespace verdel::cli
